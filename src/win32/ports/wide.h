// UTF-8 in the core, UTF-16 at the Windows boundary.
#pragma once
#include <string>
#include <string_view>

namespace vx {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Registry text, which in the core may be any bytes (a network name need not be UTF-8). Valid
// UTF-8 converts as Widen does; every other byte b, and a NUL byte, becomes the lone surrogate
// U+DC00 + b, which no valid UTF-8 produces and REG_SZ keeps as it is. NarrowBytes turns those
// back into the bytes, so any byte string round-trips exactly; other lone surrogates read as
// U+FFFD, as Narrow reads them.
std::wstring WidenBytes(std::string_view bytes);
std::string NarrowBytes(std::wstring_view utf16);

}  // namespace vx
