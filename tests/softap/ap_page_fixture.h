// The shared set-up of the page model tests: a working copy and "ApDefault" with their defaults,
// a scripted driver, the activation and a scripted user.
#pragma once
#include "common/settings/registry_values.h"
#include "fakes/fake_registry.h"
#include "fakes/scripted_ui.h"
#include "resources/strings/string_tables.h"
#include "softap/ap_fake_driver.h"
#include "softap/config/ap_page_context.h"

namespace vx::test {

struct ApPageFixture {
  static constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972}\\0007";
  static constexpr const char* kMaster = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972}\\0007\\ApDefault";
  static constexpr MacAddress kMac = {0x00, 0x0C, 0xE7, 0x30, 0x00, 0x5A};
  FakeRegistry reg;
  ApFakeDriver drv;
  ApActivation activation{reg, drv.channel, [] { return std::string(kRoot); }};
  ScriptedUi ui;

  ApPageFixture() {
    drv.answers[OID_802_3_CURRENT_ADDRESS] = std::vector<uint8_t>(kMac.begin(), kMac.end());
    reg.CreateKey(Hklm(kRoot));
    ApSettingsStore store(reg, [] { return std::string(kRoot); });
    store.EnsureAndApply(drv.channel);
    drv.Clear();
  }
  ApPageContext Context(bool usb = false) {
    return ApPageContext{reg, drv.channel, activation, ui, EnglishStrings(), [] { return std::string(kRoot); }, usb};
  }
  // Sets a value in both copies, as a page's earlier APPLY would have.
  void Put(const char* name, const std::string& text) {
    reg.SetSz(kRoot, name, text);
    reg.SetSz(kMaster, name, text);
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : ui.boxes) out.push_back(b.text);
    return out;
  }
};

}  // namespace vx::test
