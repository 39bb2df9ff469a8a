#include "utf8.h"

namespace {

// The lowest code point of each length: a smaller one written longer is
// an overlong form, which hides a character (a "/" or a NUL) from a
// reader that compares bytes.
const unsigned kLowest[5] = {0, 0, 0x80, 0x800, 0x10000};

size_t length_of_lead(unsigned char lead, unsigned *bits) {
  if (lead < 0x80) {
    *bits = lead;
    return 1;
  }
  if (lead >= 0xc2 && lead <= 0xdf) {
    *bits = lead & 0x1f;
    return 2;
  }
  if (lead >= 0xe0 && lead <= 0xef) {
    *bits = lead & 0x0f;
    return 3;
  }
  if (lead >= 0xf0 && lead <= 0xf4) {
    *bits = lead & 0x07;
    return 4;
  }
  return 0;  // a continuation byte, C0 and C1 (always overlong), F5 to FF
}

bool surrogate(unsigned code) { return code >= 0xd800 && code <= 0xdfff; }

}  // namespace

size_t utf8_char(const std::string &text, size_t at, unsigned *code) {
  if (at >= text.size())
    return 0;
  size_t length = length_of_lead((unsigned char)text[at], code);
  if (length == 0 || text.size() - at < length)
    return 0;
  for (size_t i = 1; i < length; i++) {
    unsigned char next = text[at + i];
    if ((next & 0xc0) != 0x80)
      return 0;
    *code = *code << 6 | (next & 0x3f);
  }
  if (*code < kLowest[length] || surrogate(*code) || *code > 0x10ffff)
    return 0;
  return length;
}

std::string cut_to_width(const std::string &text, size_t width) {
  size_t end = 0;
  for (size_t next; end < text.size(); end = next) {
    unsigned code;
    size_t length = utf8_char(text, end, &code);
    next = end + (length ? length : 1);
    if (next > width)
      break;
  }
  return text.substr(0, end);
}

size_t characters(const std::string &text) {
  size_t count = 0;
  unsigned code;
  for (size_t at = 0; at < text.size(); count++) {
    size_t length = utf8_char(text, at, &code);
    at += length ? length : 1;
  }
  return count;
}
