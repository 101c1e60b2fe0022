// The page models of one access point sheet, made for the page list of the hidden dialog and
// living as long as the sheet. The view adds Models() to its property sheet in this order.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/pages/about_page.h"
#include "common/pages/statistic_page.h"
#include "platform/file_info.h"
#include "platform/ip_info.h"
#include "softap/acl_wds/mac_list_page.h"
#include "softap/config/config_page.h"
#include "softap/monitor/monitor_pages.h"
#include "softap/shell/ap_hide_dlg.h"

namespace vx {

// What the sheet's pages need beyond the hidden dialog's ports.
struct ApSheetExtras {
  FileInfoPort& files;
  IpInfoPort& ipInfo;
  LocalTimeConverter toLocal;  // UTC FILETIME to local calendar fields
};

class ApSheetPages {
 public:
  ApSheetPages(ApHideDlg& dlg, const std::vector<ApPage>& pages, ApSheetExtras extras);
  ApSheetPages(const ApSheetPages&) = delete;
  ApSheetPages& operator=(const ApSheetPages&) = delete;

  std::vector<DialogModel*> Models() const { return models_; }
  // "Arventa SoftAP Utility".
  std::string Caption() const { return caption_; }
  // The sheet's own icon.
  static uint32_t Icon();
  // The edits whose typed characters go through the hexadecimal-digit input filter.
  static bool IsHexEdit(uint32_t templateId, int controlId);

  CConfigPage* Config() { return config_.get(); }
  CAccessControlPage* AccessControl() { return acl_.get(); }
  CWdsPage* Wds() { return wds_.get(); }
  CMacTablePage* MacTable() { return macTable_.get(); }
  CEventLogPage* EventLog() { return eventLog_.get(); }

 private:
  std::string caption_;
  std::unique_ptr<CConfigPage> config_;
  std::unique_ptr<CAccessControlPage> acl_;
  std::unique_ptr<CWdsPage> wds_;
  std::unique_ptr<CMacTablePage> macTable_;
  std::unique_ptr<CEventLogPage> eventLog_;
  std::unique_ptr<CStatisticPage> statistics_;
  std::unique_ptr<CAboutPage> about_;
  std::vector<DialogModel*> models_;
};

}  // namespace vx
