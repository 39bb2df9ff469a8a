// UTF-8 as the databases write operator names: where a character begins
// and ends, so that a name is cut and printed a whole character at a time.
#pragma once

#include <stddef.h>

#include <string>

/// The bytes of the well-formed UTF-8 character that begins at `text[at]`
/// (1 for ASCII, up to 4), with its code point in `*code`; 0 when the
/// bytes there form none: a stray continuation byte, an overlong form, a
/// surrogate, a code point beyond U+10FFFF, a sequence cut off, or `at`
/// past the end.
size_t utf8_char(const std::string &text, size_t at, unsigned *code);

/// `text` cut to at most `width` bytes, never inside a character: each
/// byte that begins no character counts as one of its own, so invalid
/// UTF-8 is cut at the width.
std::string cut_to_width(const std::string &text, size_t width);

/// The characters of `text` as a person counts them: each well-formed
/// UTF-8 character one, and each byte that begins none one of its own.
size_t characters(const std::string &text);
