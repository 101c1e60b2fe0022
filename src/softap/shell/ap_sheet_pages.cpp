#include "softap/shell/ap_sheet_pages.h"

#include "driver/os_version.h"
#include "resources/dialogs/ap_access_control_page.h"
#include "resources/dialogs/ap_security_dialog.h"
#include "resources/dialogs/ap_wds_page.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"

namespace vx {

ApSheetPages::ApSheetPages(ApHideDlg& dlg, const std::vector<ApPage>& pages, ApSheetExtras extras) {
  ApPorts& p = dlg.Ports();
  caption_ = p.strings.Get(IDS_AP_TITLE);
  for (ApPage page : pages) {
    switch (page) {
      case ApPage::Config:
        config_ = std::make_unique<CConfigPage>(dlg.PageContext());
        models_.push_back(config_.get());
        break;
      case ApPage::AccessControl:
        acl_ = std::make_unique<CAccessControlPage>(dlg.PageContext());
        models_.push_back(acl_.get());
        break;
      case ApPage::Wds:
        wds_ = std::make_unique<CWdsPage>(dlg.PageContext());
        models_.push_back(wds_.get());
        break;
      case ApPage::MacTable:
        macTable_ = std::make_unique<CMacTablePage>(dlg.Channel(), p.timers, p.strings);
        models_.push_back(macTable_.get());
        break;
      case ApPage::EventLog:
        eventLog_ = std::make_unique<CEventLogPage>(dlg.Events(), p.timers, p.strings, extras.toLocal);
        models_.push_back(eventLog_.get());
        break;
      case ApPage::Statistics:
        statistics_ = std::make_unique<CStatisticPage>(dlg.Channel(), p.timers, p.strings);
        models_.push_back(statistics_.get());
        break;
      case ApPage::About: {
        AboutFacts facts;
        facts.program = Program::AccessPoint;
        facts.osKind = dlg.OsKind();
        facts.usb = dlg.UsbAdapter();
        // As for the station: on a 64-bit system the driver is in the 64-bit system folder.
        facts.wow64 = IsWow64(p.system, facts.osKind);
        facts.instanceId = dlg.Discovery().Selected().netCfgInstanceId;
        about_ = std::make_unique<CAboutPage>(
            AboutPorts{dlg.Channel(), p.timers, extras.files, p.system, extras.ipInfo, p.process, p.strings}, facts);
        models_.push_back(about_.get());
        break;
      }
    }
  }
}

uint32_t ApSheetPages::Icon() { return kIconApLost; }

bool ApSheetPages::IsHexEdit(uint32_t templateId, int controlId) {
  if (templateId == kIddApSecurityDialog)
    return controlId == kIdcApsKey1Hex || controlId == kIdcApsKey2Hex || controlId == kIdcApsKey3Hex ||
           controlId == kIdcApsKey4Hex;
  if (templateId == kIddApAccessControlPage) return controlId == kIdcAclMac || controlId == kIdcAclEdit;
  if (templateId == kIddApWdsPage) return controlId == kIdcWdsMac || controlId == kIdcWdsEdit;
  return false;
}

}  // namespace vx
