// World files: any text must give a world or a message, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/world/world_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::sim::WorldLoad load = vx::sim::ParseWorldJson(std::string_view(reinterpret_cast<const char*>(data), size));
  if (load.ok) vx::sim::WorldToJson(load.world);
  else if (load.error.empty()) __builtin_trap();
  return 0;
}
