// Stand-in for the outside mode-switch program in simulation: started by one utility with
// "ON|OFF <station> <access point> <folder> <bus>", it waits until the starting utility has
// ended (the single-instance mutex both utilities hold is free again) and starts the other one.
// "ON" comes from the station utility (start the access point utility), "OFF" from the access
// point utility (start the station utility).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx::sim {

struct ModeSwitchRequest {
  bool toAccessPoint = false;  // "ON"
  std::string stationProgram;  // "ClientCfg"
  std::string apProgram;       // "HotspotCfg"
  std::string folder;          // "Veltrix Wireless"
  std::string bus;             // "PCI"
  // The program to start, with ".exe" appended when missing.
  std::string ProgramToStart() const;
};

// Splits a command line as the C runtime does for simple quoting ("a b" is one argument).
std::vector<std::string> SplitCommandLine(const std::string& line);
// nullopt when the arguments (without the program name) are not "ON|OFF station ap [folder] [bus]".
std::optional<ModeSwitchRequest> ParseModeSwitch(const std::vector<std::string>& args);

// What the stand-in needs of the system.
class ModeSwitchSystem {
 public:
  virtual ~ModeSwitchSystem() = default;
  virtual bool MutexHeld(const std::string& name) = 0;
  virtual bool Start(const std::string& program) = 0;  // from the stand-in's own folder
  virtual void SleepMs(uint32_t ms) = 0;
};

enum class ModeSwitchResult { Started, BadArguments, StarterStillRunning, StartFailed };

// Polls every 100 ms for at most timeoutMs, then starts the other utility.
ModeSwitchResult RunModeSwitch(const ModeSwitchRequest& request, ModeSwitchSystem& system,
                               uint32_t timeoutMs = 30000, const std::string& mutexName = "KC30");

}  // namespace vx::sim
