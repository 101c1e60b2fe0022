// The profile editor over the in-process virtual adapter: store, link, scripted user, fake
// certificate stores, and helpers that act on a page as the user would.
#pragma once
#include <gtest/gtest.h>

#include "fakes/fake_cert_store.h"
#include "fakes/fake_registry.h"
#include "fakes/scripted_ui.h"
#include "fakes/virtual_clock.h"
#include "resources/strings/string_tables.h"
#include "sim/adapter/virtual_adapter.h"
#include "sim/services/sim_services.h"
#include "station/profiles/profile_sheet.h"
#include "station/profiles/station_link.h"

namespace vx {

inline constexpr const char* kEditorRoot =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007";

class EditorFixture : public ::testing::Test {
 protected:
  sim::VirtualAdapter adapter{sim::PciAdapterHardware()};
  sim::SimSupplicant supplicant{{&adapter}};
  FakeRegistry reg;
  VirtualClock clock;
  OidChannel channel{adapter, clock, Program::Station};
  StationLink link{reg, channel, clock, supplicant, [] { return std::string(kEditorRoot); }};
  std::vector<bool> activations;
  ProfileStore store{reg, [] { return std::string(kEditorRoot); }, [this](bool advanced) {
                       activations.push_back(advanced);
                       link.SetOidFromReg(advanced);
                     }};
  const StringTable& strings = EnglishStrings();
  ScriptedUi ui;
  FakeCertStore certs;
  ProfileEditorFacts facts;
  std::vector<std::string> ssids;
  ProfileEditorContext ctx{reg,
                           channel,
                           store,
                           strings,
                           ui,
                           certs,
                           [this] { return facts; },
                           [this] { return ssids; },
                           [this](uint32_t mode) { link.SetWirelessMode(mode); },
                           [this](const ConfigWords& w) { link.SetLastStaConfig(w); },
                           [this](bool advanced) {
                             activations.push_back(advanced);
                             link.SetOidFromReg(advanced);
                           },
                           [this] { return link.Applied(); }};

  void SetUp() override {
    reg.CreateKey(Hklm(kEditorRoot));
    channel.SetDevicePath(adapter.DevicePath());
    ASSERT_TRUE(supplicant.OpenGlobal("KC30"));
    ASSERT_TRUE(supplicant.BindAdapter(adapter.Hardware().mac));
    link.Facts().supplicantAvailable = true;
    link.Facts().driverVersion = 0x0501;
    facts.settingsRoot = kEditorRoot;
    facts.osKind = 7;
    facts.supplicantAvailable = true;
    facts.driverVersion = 0x0501;
    facts.channels.family = 4;
  }

  static void Choose(DialogModel& page, int id, int index) {
    page.Control(id).selection = index;
    page.OnCommand(id, UiEvent::SelectionChanged);
  }
  static void Type(DialogModel& page, int id, const std::string& text) {
    page.Control(id).text = text;
    page.OnCommand(id, UiEvent::TextChanged);
  }
  static void Click(DialogModel& page, int id) { page.OnCommand(id, UiEvent::Clicked); }
  static void Check(DialogModel& page, int id, bool on) {
    page.Control(id).checked = on;
    page.OnCommand(id, UiEvent::Clicked);
  }
  // The texts of the boxes shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : ui.boxes) out.push_back(b.text);
    return out;
  }
  std::string Sz(const std::string& profile, const char* value) {
    return reg.GetSz(std::string(kEditorRoot) + "\\Profile\\Station\\" + profile, value);
  }
};

}  // namespace vx
