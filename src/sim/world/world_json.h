// Worlds in JSON: the scenario files of the simulator (format in docs/SIMULATOR.md).
#pragma once
#include <string>
#include <string_view>

#include "sim/adapter/world.h"

namespace vx::sim {

struct WorldLoad {
  bool ok = false;
  std::string error;  // names the member that is wrong, e.g. "networks[2].channel: expected an integer"
  World world;
};

WorldLoad ParseWorldJson(std::string_view text);
WorldLoad LoadWorldFile(const std::string& path);
std::string WorldToJson(const World& world);

}  // namespace vx::sim
