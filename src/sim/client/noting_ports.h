// In simulation mode some ports also tell the simulator what they did, so end-to-end tests can
// check what a person would see outside the program's windows: the tray's icon and tooltip that
// a real notification area would display, and the page handed to the browser.
#pragma once
#include <string>

#include "platform/process.h"
#include "platform/ui.h"
#include "sim/client/sim_client.h"

namespace vx::sim {

// A note for the simulator's "notes" command: the latest value of each topic is kept.
inline void Note(SimConnection& connection, const std::string& topic, const std::string& value) {
  std::string escaped;
  for (char c : value) {
    if (c == '"' || c == '\\') {
      escaped += '\\';
      escaped += c;
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      escaped += ' ';
    } else {
      escaped += c;
    }
  }
  connection.Control(R"({"cmd":"note","topic":")" + topic + R"(","value":")" + escaped + "\"}");
}

class NotingTray : public TrayPort {
 public:
  NotingTray(TrayPort& inner, SimConnection& connection) : inner_(inner), connection_(connection) {}
  bool Add(uint32_t iconId, const std::string& tip) override {
    Shown(iconId, tip);
    return inner_.Add(iconId, tip);
  }
  bool Modify(uint32_t iconId, const std::string& tip) override {
    Shown(iconId, tip);
    return inner_.Modify(iconId, tip);
  }
  void Remove() override {
    sim::Note(connection_, "tray", "removed");
    inner_.Remove();
  }
  uint32_t TrackMenu(uint32_t menuId) override {
    sim::Note(connection_, "menu", std::to_string(menuId));
    return inner_.TrackMenu(menuId);
  }

 private:
  void Shown(uint32_t icon, const std::string& tip) {
    if (icon == lastIcon_ && tip == lastTip_) return;  // the main loop repeats itself every tick
    lastIcon_ = icon;
    lastTip_ = tip;
    sim::Note(connection_, "tray", std::to_string(icon) + " " + tip);
  }
  TrayPort& inner_;
  SimConnection& connection_;
  uint32_t lastIcon_ = 0;
  std::string lastTip_;
};

class NotingProcess : public ProcessPort {
 public:
  NotingProcess(ProcessPort& inner, SimConnection& connection) : inner_(inner), connection_(connection) {}
  bool Exec(const std::string& commandLine, int showState) override { return inner_.Exec(commandLine, showState); }
  std::string ProgramFolder() override { return inner_.ProgramFolder(); }
  bool FileReadable(const std::string& path) override { return inner_.FileReadable(path); }
  bool RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }
  bool RemoveFolder(const std::string& path) override { return inner_.RemoveFolder(path); }
  bool OpenUrl(const std::string& url) override {
    sim::Note(connection_, "browser", url);
    return inner_.OpenUrl(url);
  }

 private:
  ProcessPort& inner_;
  SimConnection& connection_;
};

}  // namespace vx::sim
