// Decoding a full 65,536-byte BSSID list of realistic entries: SSID, rates, DS parameter, ERP,
// extended rates, then RSN, WPA and WMM elements in the mix seen on a busy floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

#include "station/survey/scan_list.h"
#include "station/survey/scan_list_builder.h"

namespace {

using namespace vx::testing;

Bytes CommonElements(const std::string& ssid, uint8_t channel) {
  return Concat({SsidElement(ssid), Element(1, {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24}), Element(3, {channel}),
                 Element(42, {0x00}), Element(50, {0x30, 0x48, 0x60, 0x6C})});
}

const Bytes kWmm = Element(221, {0x00, 0x50, 0xF2, 0x02, 0x01, 0x01, 0x80, 0x00, 0x03, 0xA4, 0x00, 0x00, 0x27, 0xA4,
                                 0x00, 0x00, 0x42, 0x43, 0x5E, 0x00, 0x62, 0x32, 0x2F, 0x00});

vx::ScanBuffer BuildFullList(size_t& entries) {
  std::vector<Bytes> list;
  size_t used = 4;
  for (uint32_t i = 0;; ++i) {
    EntrySpec e;
    e.bssid = {0x00, 0x0C, 0x43, static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i), 0x01};
    e.ssid = "Floor-" + std::to_string(i % 40) + "-Guest-Network";
    e.rssi = -40 - static_cast<int32_t>(i % 55);
    const uint8_t channel = static_cast<uint8_t>(1 + i % 13);
    e.frequencyKhz = 2407000 + 5000 * channel;
    e.infrastructureMode = i % 17 == 0 ? 0 : 1;
    Bytes security;
    switch (i % 5) {
      case 0:  // WPA2-PSK, CCMP
        e.privacy = 1;
        security = RsnElement(SuiteBody(Rsn(kCcmp), {Rsn(kCcmp)}, {Rsn(kAkmPsk)}));
        break;
      case 1:  // WPA/WPA2 mixed, PSK
        e.privacy = 1;
        security = Concat({RsnElement(SuiteBody(Rsn(kTkip), {Rsn(kCcmp), Rsn(kTkip)}, {Rsn(kAkmPsk)})),
                           WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip), Wpa(kCcmp)}, {Wpa(kAkmPsk)}))});
        break;
      case 2:  // WPA2 enterprise
        e.privacy = 1;
        security = RsnElement(SuiteBody(Rsn(kCcmp), {Rsn(kCcmp)}, {Rsn(kAkm8021x)}));
        break;
      case 3:  // WPA-PSK, TKIP
        e.privacy = 1;
        security = WpaElement(SuiteBody(Wpa(kTkip), {Wpa(kTkip)}, {Wpa(kAkmPsk)}));
        break;
      default:  // WEP or open
        e.privacy = i % 2;
        break;
    }
    e.elements = Concat({CommonElements(e.ssid, channel), security, kWmm});
    Bytes entry = EncodeEntry(e);
    if (used + entry.size() > vx::kScanBufferSize) break;
    used += entry.size();
    list.push_back(std::move(entry));
  }
  entries = list.size();
  const Bytes bytes = EncodeList(list, {}, vx::kScanBufferSize);
  vx::ScanBuffer buffer{};
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  return buffer;
}

void BM_DecodeFullScanList(benchmark::State& state) {
  size_t entries = 0;
  const auto buffer = std::make_unique<vx::ScanBuffer>(BuildFullList(entries));
  std::vector<vx::SurveyRow> rows;
  for (auto _ : state) {
    vx::DecodeScanList(*buffer, rows);
    benchmark::DoNotOptimize(rows.data());
  }
  if (rows.size() != entries) state.SkipWithError("not every entry decoded");
  state.counters["entries"] = static_cast<double>(entries);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(vx::kScanBufferSize));
}
BENCHMARK(BM_DecodeFullScanList)->Unit(benchmark::kMicrosecond);

}  // namespace
