// Sends one control command to a running wlansim and prints its JSON reply, for the end-to-end
// scripts. Exits 1 when the host cannot be reached or the reply says "ok": false.
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/client/sim_client.h"

int main(int argc, char** argv) {
  vx::sim::SimEndpoint endpoint;
  int arg = 1;
  if (arg + 1 < argc && std::strcmp(argv[arg], "--port") == 0) {
    endpoint.port = static_cast<uint16_t>(std::atoi(argv[arg + 1]));
    arg += 2;
  }
  if (arg >= argc) {
    std::fprintf(stderr, "usage: wlanctl [--port N] '{\"cmd\":\"state\"}'\n");
    return 2;
  }
  vx::sim::SimConnection connection(endpoint);
  std::string reply = connection.Control(argv[arg]);
  if (reply.empty()) {
    std::fprintf(stderr, "wlanctl: %s\n", connection.LastError().c_str());
    return 1;
  }
  std::printf("%s\n", reply.c_str());
  return reply.find("\"ok\":true") != std::string::npos ? 0 : 1;
}
