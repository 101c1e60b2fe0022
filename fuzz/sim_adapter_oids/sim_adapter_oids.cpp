// Driver requests to the virtual adapter: the first 4 bytes are the OID code, the next 2 the
// buffer length, the rest the buffer's content.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "driver/oid_codes.h"
#include "sim/adapter/virtual_adapter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vx::sim::VirtualAdapter* adapter = new vx::sim::VirtualAdapter();
  if (size < 6) return 0;
  std::vector<uint8_t> in(data, data + 4);
  size_t length = data[4] | (data[5] << 8);
  std::vector<uint8_t> out(length, 0);
  for (size_t i = 6; i < size && i - 6 < length; ++i) out[i - 6] = data[i];
  auto h = adapter->Open(adapter->DevicePath());
  uint32_t returned = 0;
  if (h && h->Control(vx::kIoctlNdisQueryGlobalStats, in, out, returned) && returned > length) __builtin_trap();
  if (size > 2 && data[size - 1] == 0xEE) adapter->Tick();
  return 0;
}
