// The hexadecimal-digit input filter of the key and MAC address edits.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

// A typed character is accepted when it is a control character, a digit, or one of A-F or X in
// either case; the view refuses any other with a beep.
constexpr bool AcceptHexDigitKey(uint32_t ch) {
  return ch < 0x20 || (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f') || ch == 'X' ||
         ch == 'x';
}

// Text that reached an edit another way (pasted): the refused characters removed, cut to `max`.
inline std::string FilterHexInput(std::string_view text, size_t max) {
  std::string out;
  for (char c : text)
    if (c >= 0x20 && AcceptHexDigitKey(static_cast<unsigned char>(c)) && out.size() < max) out.push_back(c);
  return out;
}

}  // namespace vx
