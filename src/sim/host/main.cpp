// wlansim: the simulator host. Serves the virtual adapters to the simulated platform's stand-ins
// (the miniport, the supplicant and IP helper libraries) and to tests through its control
// interface.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "sim/host/sim_host.h"
#include "sim/world/world_json.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

void Usage() {
  std::fprintf(
      stderr,
      "usage: wlansim [--port N] [--world FILE] [--one-adapter] [--no-autosecurity] [--autosecurity-port N]\n"
      "               [--print-world]\n"
      "  --port N          control and device port on 127.0.0.1 (default 4510, 0: any free port)\n"
      "  --world FILE      radio world in JSON (default: the built-in world)\n"
      "  --one-adapter     only the PCI adapter (default: PCI and USB)\n"
      "  --no-autosecurity do not run the access point's one-button security service\n"
      "  --autosecurity-port N  its port (default: the world's, 0: any free port)\n"
      "  --print-world     print the world as JSON and exit\n");
}
}  // namespace

int main(int argc, char** argv) {
  vx::sim::World world = vx::sim::DefaultWorld();
  vx::sim::HostOptions options;
  bool printWorld = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "--port" || arg == "--autosecurity-port") && i + 1 < argc) {
      char* end = nullptr;
      long port = std::strtol(argv[++i], &end, 10);
      if (*end || port < 0 || port > 65535) {
        std::fprintf(stderr, "wlansim: bad port \"%s\"\n", argv[i]);
        return 2;
      }
      if (arg == "--port")
        options.port = static_cast<uint16_t>(port);
      else
        options.autoSecurityPort = static_cast<int>(port);
    } else if (arg == "--world" && i + 1 < argc) {
      vx::sim::WorldLoad load = vx::sim::LoadWorldFile(argv[++i]);
      if (!load.ok) {
        std::fprintf(stderr, "wlansim: %s\n", load.error.c_str());
        return 2;
      }
      world = load.world;
    } else if (arg == "--one-adapter") {
      options.adapters.resize(1);
    } else if (arg == "--no-autosecurity") {
      options.autoSecurity = false;
    } else if (arg == "--print-world") {
      printWorld = true;
    } else {
      Usage();
      return 2;
    }
  }
  if (printWorld) {
    std::printf("%s\n", vx::sim::WorldToJson(world).c_str());
    return 0;
  }
  vx::sim::SimHost host(world, options);
  if (!host.Start()) {
    std::fprintf(stderr, "wlansim: %s\n", host.Error().c_str());
    return 1;
  }
  std::printf("wlansim: serving on 127.0.0.1:%u", host.Port());
  if (host.AutoSecurityPort()) std::printf(", one-button security on 127.0.0.1:%u", host.AutoSecurityPort());
  std::printf("\n");
  std::fflush(stdout);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  host.Stop();
  return 0;
}
