// The one-button set-up's state, shared by the site survey page and the profile list page
// (which sets manualActivation). Touched on the user-interface thread only.
#pragma once
#include <array>
#include <cstdint>

#include "base/hex.h"

namespace vx {

// The first three bytes of the BSSIDs of the board maker's own access points.
inline constexpr std::array<std::array<uint8_t, 3>, 3> MakerApOuis = {{
    {0x00, 0x0C, 0xE7},
    {0x00, 0x0E, 0x2E},
    {0x00, 0x1A, 0xEF},
}};

inline bool IsMakerBssid(const MacAddress& bssid) {
  for (const auto& oui : MakerApOuis)
    if (bssid[0] == oui[0] && bssid[1] == oui[1] && bssid[2] == oui[2]) return true;
  return false;
}

inline constexpr int kMaxDiscoveryRequests = 10;

struct AutoSecuritySetup {
  bool canceled = false;
  bool started = false;
  bool succeeded = false;
  bool inProgress = false;
  bool manualActivation = false;
  int discoveryCount = 0;
  bool lastKeyResult = true;
  bool setupIdle = true;
  MacAddress lastSeenBssid{};

  // What Connect does to the set-up before it joins a network.
  void ResetForConnect() {
    started = inProgress;
    canceled = false;
    succeeded = false;
    discoveryCount = 0;
    manualActivation = false;
  }
};

}  // namespace vx
