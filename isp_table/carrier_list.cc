#include "carrier_list.h"

#include <errno.h>
#include <stdlib.h>

#include <algorithm>
#include <variant>

#include "pieces.h"

namespace {

// ---- The schema (carrierId.proto) ----

// A field's member says what it takes: one number, one string, strings
// (repeated) or blocks (repeated). The schema has nothing else.
template <typename M>
using Member = std::variant<long M::*, std::string M::*, std::vector<std::string> M::*,
                            std::vector<Carrier> M::*, std::vector<CarrierAttribute> M::*>;

template <typename M>
struct Field {
  const char *name;
  Member<M> member;
};

template <typename M>
struct Message {
  const char *name;
  std::vector<Field<M>> fields;
};

const Message<CarrierList> kCarrierList = {
    "CarrierList", {{"carrier_id", &CarrierList::carriers}, {"version", &CarrierList::version}}};

const Message<Carrier> kCarrierId = {"CarrierId",
                                     {{"canonical_id", &Carrier::canonical_id},
                                      {"carrier_name", &Carrier::carrier_name},
                                      {"carrier_attribute", &Carrier::attributes},
                                      {"parent_canonical_id", &Carrier::parent_canonical_id}}};

const Message<CarrierAttribute> kCarrierAttribute = {
    "CarrierAttribute",
    {{"mccmnc_tuple", &CarrierAttribute::mccmnc_tuple},
     {"imsi_prefix_xpattern", &CarrierAttribute::imsi_prefix_xpattern},
     {"spn", &CarrierAttribute::spn},
     {"plmn", &CarrierAttribute::plmn},
     {"gid1", &CarrierAttribute::gid1},
     {"gid2", &CarrierAttribute::gid2},
     {"preferred_apn", &CarrierAttribute::preferred_apn},
     {"iccid_prefix", &CarrierAttribute::iccid_prefix},
     {"privilege_access_rule", &CarrierAttribute::privilege_access_rule}}};

const Message<CarrierList> &schema(const CarrierList *) { return kCarrierList; }
const Message<Carrier> &schema(const Carrier *) { return kCarrierId; }
const Message<CarrierAttribute> &schema(const CarrierAttribute *) { return kCarrierAttribute; }

// ---- The text format's tokens ----

bool name_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool digit(char c) { return c >= '0' && c <= '9'; }
bool name_char(char c) { return name_start(c) || digit(c); }

// Moves `at` past white space and # comments, counting the lines it passes.
void skip_space(const std::string &b, size_t *at, int *line) {
  while (*at < b.size()) {
    char c = b[*at];
    if (c == '#') {
      while (*at < b.size() && b[*at] != '\n')
        (*at)++;
      continue;
    }
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f')
      return;
    *line += c == '\n';
    (*at)++;
  }
}

// The escapes of one character, each letter with the byte it stands for.
const char kEscapes[] = "\"\"''\\\\??n\nt\tr\ra\ab\bf\fv\v";

int hex_value(char c) {
  if (digit(c))
    return c - '0';
  c = (char)(c | 0x20);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// What stands where a value begins.
enum Given { kBlock, kText, kNumber, kOther, kEnd };

// A block being read: the field that opened it, its line, and the
// delimiter that closes it (none at the top).
struct Opening {
  const char *name;
  int line;
  char close;
};

class Reader {
 public:
  explicit Reader(const std::string &bytes) : b_(bytes) {}

  /// Reads the fields of `m` up to `open`'s closing delimiter, or the end.
  template <typename M>
  bool fields(M *m, const Opening &open);

  const std::string &error() const { return error_; }

 private:
  bool fail(int line, const std::string &what) {
    error_ = "line " + std::to_string(line) + ": " + what;
    return false;
  }
  void skip() { skip_space(b_, &at_, &line_); }
  bool at_end() const { return at_ == b_.size(); }

  Given given() const;
  std::string found() const;
  bool want(Given wanted, const char *name);
  template <typename M>
  bool value(M *m, const Field<M> &field, int line, bool again);
  bool take(long &out, const char *name, int line, bool again);
  bool take(std::string &out, const char *name, int line, bool again);
  bool take(std::vector<std::string> &texts, const char *name, int line, bool again);
  template <typename T>
  bool take(std::vector<T> &blocks, const char *name, int line, bool again);
  bool number(long *value);
  bool text(std::string *value);
  bool literal(std::string *value);
  bool escape(std::string *value);

  const std::string &b_;
  size_t at_ = 0;
  int line_ = 1;
  std::string error_;
};

Given Reader::given() const {
  if (at_end())
    return kEnd;
  char c = b_[at_];
  if (c == '{' || c == '<')
    return kBlock;
  if (c == '"' || c == '\'')
    return kText;
  return digit(c) || c == '-' ? kNumber : kOther;
}

// "a string", "the end of the file", "\"]\"".
std::string Reader::found() const {
  static const char *const kWhat[] = {"a block", "a string", "a number", "", "the end of the file"};
  Given g = given();
  return g == kOther ? shown(std::string(1, b_[at_])) : kWhat[g];
}

bool Reader::want(Given wanted, const char *name) {
  static const char *const kWhat[] = {"a block { ... }", "a string", "a number"};
  return given() == wanted ||
         fail(line_, std::string(name) + " takes " + kWhat[wanted] + ", found " + found());
}

template <typename M>
bool Reader::fields(M *m, const Opening &open) {
  const Message<M> &message = schema(m);
  std::vector<bool> seen(message.fields.size());
  for (;;) {
    skip();
    if (at_end())
      return !open.close ||
             fail(open.line, std::string("the block of ") + open.name + " is never closed");
    if (open.close && b_[at_] == open.close) {
      at_++;
      return true;
    }
    if (!name_start(b_[at_]))
      return fail(line_, std::string("a field name") +
                             (open.close ? " or " + shown(std::string(1, open.close)) : "") +
                             " expected, found " + found());
    int line = line_;
    size_t start = at_;
    while (!at_end() && name_char(b_[at_]))
      at_++;
    std::string word = b_.substr(start, at_ - start);
    auto field = std::find_if(message.fields.begin(), message.fields.end(),
                              [&word](const Field<M> &f) { return word == f.name; });
    if (field == message.fields.end())
      return fail(line, std::string(message.name) + " has no field " + shown(word));
    size_t index = field - message.fields.begin();
    bool again = seen[index];
    seen[index] = true;
    if (!value(m, *field, line, again))
      return false;
    skip();
    if (!at_end() && (b_[at_] == ',' || b_[at_] == ';'))
      at_++;
  }
}

// A scalar follows a ":", a block may.
template <typename M>
bool Reader::value(M *m, const Field<M> &field, int line, bool again) {
  skip();
  bool colon = !at_end() && b_[at_] == ':';
  if (colon) {
    at_++;
    skip();
  }
  if (!colon && given() != kBlock)
    return fail(line_, std::string("\":\" expected after ") + field.name + ", found " + found());
  return std::visit([&](auto member) { return take(m->*member, field.name, line, again); },
                    field.member);
}

bool Reader::take(long &out, const char *name, int line, bool again) {
  if (again)
    return fail(line, std::string(name) + " is given twice; it holds one value");
  return want(kNumber, name) && number(&out);
}

bool Reader::take(std::string &out, const char *name, int line, bool again) {
  if (again)
    return fail(line, std::string(name) + " is given twice; it holds one value");
  return want(kText, name) && text(&out);
}

bool Reader::take(std::vector<std::string> &texts, const char *name, int, bool) {
  if (!want(kText, name))
    return false;
  texts.emplace_back();
  return text(&texts.back());
}

template <typename T>
bool Reader::take(std::vector<T> &blocks, const char *name, int line, bool) {
  if (!want(kBlock, name))
    return false;
  char close = b_[at_++] == '{' ? '}' : '>';
  blocks.emplace_back();
  blocks.back().line = line;
  return fields(&blocks.back(), Opening{name, line, close});
}

// Decimal, as written: "010", which the text format reads as octal, is refused.
bool Reader::number(long *value) {
  size_t start = at_;
  while (!at_end() && (name_char(b_[at_]) || b_[at_] == '-' || b_[at_] == '+' || b_[at_] == '.'))
    at_++;
  std::string token = b_.substr(start, at_ - start);
  size_t first = token[0] == '-' ? 1 : 0;
  if (token.size() == first || !std::all_of(token.begin() + first, token.end(), digit))
    return fail(line_, shown(token) + " is not a decimal number");
  if (token[first] == '0' && token.size() > first + 1)
    return fail(line_, shown(token) + " begins with 0, which the text format reads as octal");
  errno = 0;
  *value = strtol(token.c_str(), nullptr, 10);
  return errno != ERANGE || fail(line_, shown(token) + " is out of range");
}

// One or more literals, joined as the text format joins adjacent ones.
bool Reader::text(std::string *value) {
  do {
    if (!literal(value))
      return false;
    skip();
  } while (given() == kText);
  return true;
}

bool Reader::literal(std::string *value) {
  char quote = b_[at_++];
  for (;;) {
    if (at_end() || b_[at_] == '\n')
      return fail(line_, "a string is not closed on its line");
    char c = b_[at_++];
    if (c == quote)
      return true;
    if (c != '\\')
      value->push_back(c);
    else if (!escape(value))
      return false;
    if (value->size() > kCarrierStringMax)
      return fail(line_, "a string longer than 64 KiB");
  }
}

// After a backslash: a character's letter, up to three octal digits, or
// "x" and up to two hex digits.
bool Reader::escape(std::string *value) {
  if (at_end() || b_[at_] == '\n')
    return fail(line_, "a string is not closed on its line");
  char c = b_[at_++];
  for (const char *e = kEscapes; *e; e += 2)
    if (c == e[0]) {
      value->push_back(e[1]);
      return true;
    }
  if (c >= '0' && c <= '7') {
    int code = c - '0';
    for (int n = 1; n < 3 && !at_end() && b_[at_] >= '0' && b_[at_] <= '7'; n++)
      code = code * 8 + (b_[at_++] - '0');
    if (code > 0377)
      return fail(line_, "an octal escape above \\377");
    value->push_back((char)code);
    return true;
  }
  if (c == 'x' || c == 'X') {
    int code = -1;
    for (int n = 0; n < 2 && !at_end() && hex_value(b_[at_]) >= 0; n++)
      code = (code < 0 ? 0 : code * 16) + hex_value(b_[at_++]);
    if (code < 0)
      return fail(line_, "\\x without a hex digit");
    value->push_back((char)code);
    return true;
  }
  return fail(line_, "unknown escape \\" + (c > ' ' && c < 127 ? std::string(1, c)
                                                             : shown(std::string(1, c))));
}

}  // namespace

bool read_carrier_list(const std::string &bytes, CarrierList *list, std::string *error) {
  if (bytes.size() > kCarrierListMax) {
    *error = "more than " + std::to_string(kCarrierListMax >> 20) + " MiB";
    return false;
  }
  *list = CarrierList();
  Reader reader(bytes);
  if (reader.fields(list, Opening{"", 0, '\0'}))
    return true;
  *error = reader.error();
  return false;
}

bool looks_like_carrier_list(const std::string &bytes) {
  size_t at = 0;
  int line = 1;
  skip_space(bytes, &at, &line);
  size_t start = at;
  while (at < bytes.size() && name_char(bytes[at]))
    at++;
  std::string word = bytes.substr(start, at - start);
  if (word != "carrier_id" && word != "version")
    return false;
  skip_space(bytes, &at, &line);
  return at < bytes.size() && (bytes[at] == ':' || bytes[at] == '{' || bytes[at] == '<');
}
