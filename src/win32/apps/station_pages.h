// The pages of the station utility's main sheet, in their order.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "common/ui/dialog_model.h"
#include "platform/file_info.h"
#include "platform/ip_info.h"
#include "platform/timer.h"
#include "station/shell/hide_dlg.h"

namespace vx {

struct StationPageSet {
  // What the pages use that lives as long as they do.
  std::unique_ptr<TimerPort> timers;
  std::unique_ptr<FileInfoPort> files;
  std::vector<std::unique_ptr<DialogModel>> pages;
  DialogModel* profilePage = nullptr;  // shown only while this utility configures the adapter
  int startPage = 0;                   // the site survey
  std::function<void()> onQuickSecure;
};

StationPageSet MakeStationPages(HideDlg& shell, StationPorts& ports, IpInfoPort& ipInfo);

}  // namespace vx
