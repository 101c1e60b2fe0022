// Any bytes as a BSSID list: decoded once exactly as given (so a read past the input is caught)
// and once as the driver's zero-padded 64 KiB buffer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "station/survey/scan_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<vx::SurveyRow> rows;
  vx::DecodeScanList(std::span<const uint8_t>(data, size), rows);
  for (const vx::SurveyRow& r : rows) {
    if (r.entryOffset + 96 > size || r.ssid.length > 32 || r.texts[vx::kColumnSsid].size() > 32) std::abort();
  }

  static auto buffer = std::make_unique<vx::ScanBuffer>();
  buffer->fill(0);
  std::copy_n(data, std::min(size, vx::kScanBufferSize), buffer->begin());
  vx::DecodeScanList(*buffer, rows);
  return 0;
}
