// UTF-8 reading and writing: the one decoder, so that every text handed to Python is valid.
// Positions and lengths are in bytes. Malformed input is never an error: the decoder
// reports no character, and valid_utf8_prefix replaces each bad byte with U+FFFD.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

struct Utf8Char {
    char32_t code_point;
    size_t length;  // bytes, 1..4
};

// The well-formed character at byte `i` of `text`, or nothing for a malformed sequence,
// an overlong form, a surrogate or a code point above U+10FFFF.
std::optional<Utf8Char> decode_utf8(std::string_view text, size_t i);

// Appends the UTF-8 encoding of a code point at most U+10FFFF.
void append_utf8(std::string& out, char32_t cp);

// `text` up to its first zero byte (at most `capacity` bytes), each byte of a malformed
// sequence replaced by U+FFFD.
std::string valid_utf8_prefix(const char* text, size_t capacity);

}  // namespace zk
