#include "sim/modeswitch/mode_switch.h"

#include "base/hex.h"

namespace vx::sim {

std::string ModeSwitchRequest::ProgramToStart() const {
  std::string p = toAccessPoint ? apProgram : stationProgram;
  if (p.size() < 4 || !EqualsIgnoreCase(std::string_view(p).substr(p.size() - 4), ".exe")) p += ".exe";
  return p;
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  std::string current;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current.push_back(c);
      any = true;
    }
  }
  if (any) args.push_back(current);
  return args;
}

std::optional<ModeSwitchRequest> ParseModeSwitch(const std::vector<std::string>& args) {
  if (args.size() < 3 || args.size() > 5) return std::nullopt;
  ModeSwitchRequest r;
  if (EqualsIgnoreCase(args[0], "ON"))
    r.toAccessPoint = true;
  else if (!EqualsIgnoreCase(args[0], "OFF"))
    return std::nullopt;
  r.stationProgram = args[1];
  r.apProgram = args[2];
  if (args.size() > 3) r.folder = args[3];
  if (args.size() > 4) r.bus = args[4];
  // Only plain program names: the stand-in starts programs from its own folder, nothing else.
  for (const std::string* p : {&r.stationProgram, &r.apProgram})
    if (p->empty() || p->find_first_of("\\/:") != std::string::npos) return std::nullopt;
  return r;
}

ModeSwitchResult RunModeSwitch(const ModeSwitchRequest& request, ModeSwitchSystem& system, uint32_t timeoutMs,
                               const std::string& mutexName) {
  uint32_t waited = 0;
  while (system.MutexHeld(mutexName)) {
    if (waited >= timeoutMs) return ModeSwitchResult::StarterStillRunning;
    system.SleepMs(100);
    waited += 100;
  }
  return system.Start(request.ProgramToStart()) ? ModeSwitchResult::Started : ModeSwitchResult::StartFailed;
}

}  // namespace vx::sim
