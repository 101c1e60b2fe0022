// How the user interface shows bytes that are meant as text but need not be: a network name is
// any 0 to 32 bytes. One place, so every page shows a name alike and the profile name made from
// it matches what the user saw.
#pragma once
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace vx {

// A network name as shown: UTF-8 as it is; other bytes read in the ANSI code page of the UI
// language (`strings`). A control character, or a byte that code page does not read, shows as the
// visible escape "\xNN" of its bytes. The result is always valid UTF-8.
std::string ShownSsid(std::string_view ssid, const StringTable& strings);

}  // namespace vx
