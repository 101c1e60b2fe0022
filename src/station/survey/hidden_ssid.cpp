#include "station/survey/hidden_ssid.h"

#include "base/utf8.h"
#include "resources/string_ids.h"

namespace vx {

void CHiddenSsidDialog::OnInit() {
  caption = strings_.Get(IDS_HIDDEN_SSID_TITLE);
  Control(VX_IDC_HIDDEN_SSID_PROMPT).text = strings_.Get(IDS_HIDDEN_SSID_PROMPT);
  Control(kIdcHiddenSsid).text.clear();
  Control(kIdcHiddenSsid).maxLength = static_cast<int>(kMaxSsid);
  RequestFocus(kIdcHiddenSsid);
}

bool CHiddenSsidDialog::OnOk() {
  const std::string& text = Control(kIdcHiddenSsid).text;
  if (text.empty()) {
    dialogs_.MessageBox(strings_.Get(IDS_ENTER_SSID), caption, kMbOk | kMbIconWarning);
    RequestFocus(kIdcHiddenSsid);
    return false;
  }
  // The record holds 32 bytes; a longer text is cut there, never inside a character, which would
  // be stored and sent as a byte of no character.
  ssid_ = std::string(Utf8PrefixBytes(text, kMaxSsid));
  return true;
}

}  // namespace vx
