// Request payloads of the simulator host's protocol, decoded and answered without a socket.
#include <cstddef>
#include <cstdint>

#include "sim/host/sim_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vx::sim::SimHost* host = [] {
    vx::sim::HostOptions o;
    o.tickThread = false;
    o.autoSecurity = false;
    return new vx::sim::SimHost(vx::sim::DefaultWorld(), o);
  }();
  host->Handle(std::span<const uint8_t>(data, size));
  return 0;
}
