// In simulation mode the tray also tells the simulator what it shows, so end-to-end tests can
// check the icon and tooltip that a real notification area would display.
#pragma once
#include <string>

#include "platform/ui.h"
#include "sim/client/sim_client.h"

namespace vx::sim {

class NotingTray : public TrayPort {
 public:
  NotingTray(TrayPort& inner, SimConnection& connection) : inner_(inner), connection_(connection) {}
  bool Add(uint32_t iconId, const std::string& tip) override {
    Note(iconId, tip);
    return inner_.Add(iconId, tip);
  }
  bool Modify(uint32_t iconId, const std::string& tip) override {
    Note(iconId, tip);
    return inner_.Modify(iconId, tip);
  }
  void Remove() override {
    connection_.Control(R"({"cmd":"note","topic":"tray","value":"removed"})");
    inner_.Remove();
  }
  uint32_t TrackMenu(uint32_t menuId) override {
    connection_.Control(R"({"cmd":"note","topic":"menu","value":")" + std::to_string(menuId) + "\"}");
    return inner_.TrackMenu(menuId);
  }

 private:
  void Note(uint32_t icon, const std::string& tip) {
    if (icon == lastIcon_ && tip == lastTip_) return;  // the main loop repeats itself every tick
    lastIcon_ = icon;
    lastTip_ = tip;
    connection_.Control(R"({"cmd":"note","topic":"tray","value":")" + Escape(std::to_string(icon) + " " + tip) +
                        "\"}");
  }
  static std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (c == '\n') {
        out += "\\n";
      } else if (static_cast<unsigned char>(c) < 0x20) {
        out += ' ';
      } else {
        out += c;
      }
    }
    return out;
  }
  TrayPort& inner_;
  SimConnection& connection_;
  uint32_t lastIcon_ = 0;
  std::string lastTip_;
};

}  // namespace vx::sim
