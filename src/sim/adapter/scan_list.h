// The driver's scan result, NDIS_802_11_BSSID_LIST_EX, built from the networks in range.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/adapter/world.h"

namespace vx::sim {

// Offsets within one NDIS_WLAN_BSSID_EX entry.
constexpr size_t kBssidEntryFixedSize = 116;  // up to and including IELength
constexpr size_t kFixedIeSize = 12;           // timestamp, beacon interval, capability

// The tagged elements after the 12 fixed bytes: SSID (empty when hidden), supported rates,
// DS parameter set, IBSS parameter set (ad hoc), RSN, extended rates, WPA vendor element.
std::vector<uint8_t> BuildTaggedElements(const Network& n);
// The WPA vendor element (221) and the RSN element (48); empty when the network has none.
std::vector<uint8_t> BuildWpaElement(const Network& n);
std::vector<uint8_t> BuildRsnElement(const Network& n);
// One entry, its Length rounded up to a multiple of 4.
std::vector<uint8_t> BuildBssidEntry(const Network& n, uint64_t timestampUs);
std::vector<uint8_t> BuildBssidList(const std::vector<Network>& networks, uint64_t timestampUs);

}  // namespace vx::sim
