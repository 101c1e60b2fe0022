// The pages of the station utility's main sheet, in their order.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "common/ui/dialog_model.h"
#include "platform/file_info.h"
#include "platform/ip_info.h"
#include "platform/cert_store.h"
#include "platform/tcp.h"
#include "platform/timer.h"
#include "station/advanced/advance_page.h"
#include "station/profiles/profile_sheet.h"
#include "station/survey/survey_page.h"
#include "station/shell/hide_dlg.h"

namespace vx {

struct StationPageSet {
  // What the pages use that lives as long as they do.
  std::unique_ptr<TimerPort> timers;
  std::unique_ptr<FileInfoPort> files;
  std::unique_ptr<ProfileEditorContext> editor;
  std::vector<std::unique_ptr<DialogModel>> pages;
  DialogModel* profilePage = nullptr;  // shown only while this utility configures the adapter
  CSiteSurvPage* survey = nullptr;     // the page the sheet opens on
  CAdvancePage* advance = nullptr;     // its RF caption follows the sheet's radio button
};

// What the survey needs that outlives the sheet.
struct SurveyServices {
  TcpPort& tcp;
  SurveyShared& shared;
  // Wakes the UI thread when the one-button worker posted a message.
  std::function<void()> wake;
};

// `certs` (the system's stores or the simulator's) outlives the pages. The pages reach the ports
// through the shell, whose dialog port keeps it busy while any of their dialogs is open.
StationPageSet MakeStationPages(HideDlg& shell, IpInfoPort& ipInfo, CertStorePort& certs, SurveyServices survey);

}  // namespace vx
