// UTF-8 read and written one code point at a time, strictly: text of outside origin (a network
// name) may hold any bytes, and each caller decides what an invalid byte becomes.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vx {

// Length of the valid UTF-8 sequence at `at` and its code point; 0 when the bytes there are not
// one (overlong forms, encoded surrogates and values above U+10FFFF are not).
size_t Utf8Sequence(std::string_view s, size_t at, char32_t& cp);
bool IsValidUtf8(std::string_view s);
void AppendUtf8(std::string& out, char32_t cp);
// The longest start of `s` with at most `count` code points that ends on a character boundary
// (an invalid byte counts as one).
std::string_view Utf8Prefix(std::string_view s, size_t count);
// The longest start of `s` of at most `bytes` bytes that does not cut a character in two.
std::string_view Utf8PrefixBytes(std::string_view s, size_t bytes);

}  // namespace vx
