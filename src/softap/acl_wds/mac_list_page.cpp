#include "softap/acl_wds/mac_list_page.h"

#include <algorithm>

#include "common/settings/registry_values.h"
#include "resources/dialogs/ap_access_control_page.h"
#include "resources/dialogs/ap_wds_page.h"
#include "resources/string_ids.h"
#include "softap/config/hex_input_filter.h"

namespace vx {

std::string DashedMac(const std::string& twelve) {
  std::string out;
  for (size_t i = 0; i < twelve.size(); ++i) {
    if (i && i % 2 == 0) out.push_back('-');
    out.push_back(twelve[i]);
  }
  return out;
}

std::string UndashedMac(const std::string& dashed) {
  std::string out;
  for (char c : dashed)
    if (c != '-') out.push_back(c);
  return out;
}

MacListPage::MacListPage(ApPageContext context, MacListControls ids, size_t capacity)
    : ctx_(std::move(context)), ids_(ids), capacity_(capacity) {
  // Twelve hexadecimal digits, typed without dashes.
  Control(ids_.macEdit).maxLength = kMacDigits;
  Control(ids_.inPlaceEdit).maxLength = kMacDigits;
}

void MacListPage::Error(uint32_t textId) {
  ctx_.dialogs.MessageBox(ctx_.strings.Get(textId), ctx_.strings.Get(IDS_AP_ERROR_TITLE), kMbOk | kMbIconError);
}

std::optional<std::string> MacListPage::CheckMac(const std::string& text) {
  // Twelve hexadecimal digits; the input filter lets an X through, which is no address.
  if (text.size() != 12 || !DecodeHex(text)) {
    Error(IDS_INVALID_MAC);
    return std::nullopt;
  }
  if (HexDigitValue(text[1]) & 1) {
    Error(IDS_MULTICAST_MAC);
    return std::nullopt;
  }
  return DashedMac(text);
}

bool MacListPage::Contains(const std::string& dashed, int except) {
  const auto& items = Entries();
  for (size_t i = 0; i < items.size(); ++i)
    if (static_cast<int>(i) != except && EqualsIgnoreCase(items[i], dashed)) return true;
  return false;
}

void MacListPage::LoadList(const std::vector<std::string>& stored) {
  auto& items = Entries();
  items.clear();
  for (const auto& s : stored) {
    if (s.empty()) break;
    if (items.size() >= capacity_) break;
    std::string dashed = DashedMac(s);
    if (!Contains(dashed)) items.push_back(dashed);
  }
  Control(ids_.list).selection = -1;
}

std::vector<std::string> MacListPage::StoredList() {
  std::vector<std::string> out;
  for (const auto& e : Entries()) out.push_back(UndashedMac(e));
  return out;
}

std::vector<MacAddress> MacListPage::Addresses() {
  std::vector<MacAddress> out;
  for (const auto& e : Entries())
    if (auto m = ParseMac(e)) out.push_back(*m);
  return out;
}

void MacListPage::ApplyEnablingRule() {
  bool on = ListEnabled();
  for (int id : {ids_.macEdit, ids_.list, ids_.del, ids_.removeAll}) Control(id).enabled = on;
  Control(ids_.add).enabled = on && Entries().size() < capacity_;
}

void MacListPage::Add() {
  auto dashed = CheckMac(Control(ids_.macEdit).text);
  if (!dashed) return;
  if (Contains(*dashed)) {
    Error(IDS_DUPLICATED_MAC);
    return;
  }
  if (Entries().size() >= capacity_) return;
  Entries().push_back(*dashed);
  if (Entries().size() >= capacity_) Control(ids_.add).enabled = false;
}

void MacListPage::Delete() {
  auto& list = Control(ids_.list);
  if (list.selection >= 0 && list.selection < static_cast<int>(list.items.size()))
    list.items.erase(list.items.begin() + list.selection);
  list.selection = -1;
  Control(ids_.add).enabled = ListEnabled();
}

void MacListPage::RemoveAll() {
  Entries().clear();
  Control(ids_.list).selection = -1;
  Control(ids_.add).enabled = ListEnabled();
}

void MacListPage::BeginEdit() {
  auto& list = Control(ids_.list);
  if (list.selection < 0 || list.selection >= static_cast<int>(list.items.size())) return;
  editing_ = true;
  editedRow_ = list.selection;
  Control(ids_.inPlaceEdit).text = UndashedMac(list.items[static_cast<size_t>(editedRow_)]);
  for (int id : {ids_.inPlaceEdit, ids_.modify, ids_.cancel}) {
    Control(id).visible = true;
    Control(id).enabled = true;
  }
  for (int id : {ids_.apply, ids_.macEdit, ids_.add, ids_.del, ids_.removeAll, ids_.list}) Control(id).enabled = false;
  for (int id : PolicyControls()) Control(id).enabled = false;
  RequestFocus(ids_.inPlaceEdit);
}

void MacListPage::Modify() {
  if (!editing_) return;
  auto dashed = CheckMac(Control(ids_.inPlaceEdit).text);
  if (!dashed) return;
  // The entry being edited may keep its own address.
  if (Contains(*dashed, editedRow_)) {
    Error(IDS_DUPLICATED_MAC);
    return;
  }
  if (editedRow_ >= 0 && editedRow_ < static_cast<int>(Entries().size()))
    Entries()[static_cast<size_t>(editedRow_)] = *dashed;
  CancelEdit();
}

void MacListPage::CancelEdit() {
  editing_ = false;
  editedRow_ = -1;
  Control(ids_.inPlaceEdit).text.clear();
  for (int id : {ids_.inPlaceEdit, ids_.modify, ids_.cancel}) Control(id).visible = false;
  Control(ids_.apply).enabled = true;
  for (int id : PolicyControls()) Control(id).enabled = true;
  ApplyEnablingRule();
}

void MacListPage::OnCommand(int id, UiEvent event) {
  if ((id == ids_.macEdit || id == ids_.inPlaceEdit) && event == UiEvent::TextChanged) {
    auto& t = Control(id).text;
    t = FilterHexInput(t, 12);
    return;
  }
  if (id == ids_.list && event == UiEvent::DoubleClicked) {
    BeginEdit();
    return;
  }
  if (event != UiEvent::Clicked) return;
  if (id == ids_.add) Add();
  else if (id == ids_.del) Delete();
  else if (id == ids_.removeAll) RemoveAll();
  else if (id == ids_.modify) Modify();
  else if (id == ids_.cancel) CancelEdit();
}

// --- Access control

namespace {
MacListControls AclIds() {
  return {kIdcAclMac, kIdcAclAdd, kIdcAclDelete, kIdcAclRemoveAll, kIdcAclList, kIdcAclApply, kIdcAclEdit,
          kIdcAclModify, kIdcAclCancel};
}
MacListControls WdsIds() {
  return {kIdcWdsMac, kIdcWdsAdd, kIdcWdsDelete, kIdcWdsRemoveAll, kIdcWdsList, kIdcWdsApply, kIdcWdsEdit,
          kIdcWdsModify, kIdcWdsCancel};
}
}  // namespace

CAccessControlPage::CAccessControlPage(ApPageContext context) : MacListPage(std::move(context), AclIds(), 32) {
  caption = ctx_.strings.Get(IDS_AP_PAGE_ACCESS_CONTROL);
}

uint32_t CAccessControlPage::TemplateId() const { return kIddApAccessControlPage; }

bool CAccessControlPage::ListEnabled() { return Control(kIdcAclPolicy).selection > 0; }
std::vector<int> CAccessControlPage::PolicyControls() { return {kIdcAclPolicy}; }

void CAccessControlPage::OnInit() {
  const StringTable& s = ctx_.strings;
  Control(kIdcAclPolicy).items = {s.Get(IDS_ACL_DISABLE), s.Get(IDS_ACL_ALLOW_ALL), s.Get(IDS_ACL_REJECT_ALL)};
  int32_t policy = ReadInt(ctx_.registry, ctx_.AdapterKey(), "AccessControlPolicy", 0);
  Control(kIdcAclPolicy).selection = policy >= 0 && policy <= 2 ? policy : 0;
  LoadList(ReadList(ctx_.registry, ctx_.AdapterKey(), "AccessControlList").value_or(std::vector<std::string>{}));
  CancelEdit();
}

void CAccessControlPage::OnCommand(int id, UiEvent event) {
  if (id == kIdcAclPolicy && event == UiEvent::SelectionChanged) {
    ApplyEnablingRule();
  } else if (id == kIdcAclApply && event == UiEvent::Clicked) {
    Apply();
  } else {
    MacListPage::OnCommand(id, event);
  }
}

void CAccessControlPage::Apply() {
  int32_t policy = std::max(Control(kIdcAclPolicy).selection, 0);
  if (policy != 0 && Entries().empty()) {
    ctx_.dialogs.MessageBox(ctx_.strings.Get(IDS_INVALID_ACL), ctx_.strings.Get(IDS_AP_ERROR_TITLE),
                            kMbOk | kMbIconError);
    Control(kIdcAclPolicy).selection = 0;
    ApplyEnablingRule();
    return;
  }
  WriteInt(ctx_.registry, ctx_.MasterKey(), "AccessControlPolicy", policy);
  WriteList(ctx_.registry, ctx_.MasterKey(), "AccessControlList", StoredList());
  ctx_.Store().Apply();
  ctx_.activation.SendAccessControl(policy, policy != 0 ? Addresses() : std::vector<MacAddress>{});
}

// --- WDS

CWdsPage::CWdsPage(ApPageContext context) : MacListPage(std::move(context), WdsIds(), 3) {
  caption = ctx_.strings.Get(IDS_AP_PAGE_WDS);
}

uint32_t CWdsPage::TemplateId() const { return kIddApWdsPage; }

bool CWdsPage::ListEnabled() { return Control(kIdcWdsEnable).checked; }
std::vector<int> CWdsPage::PolicyControls() { return {kIdcWdsEnable, kIdcWdsDisable}; }

void CWdsPage::OnInit() {
  const RegKey master = ctx_.MasterKey();
  bool enabled = ReadInt(ctx_.registry, master, "WdsEnable", 1) == 0;
  Control(kIdcWdsEnable).checked = enabled;
  Control(kIdcWdsDisable).checked = !enabled;
  LoadList(ReadList(ctx_.registry, master, "WdsList").value_or(std::vector<std::string>{}));
  ctx_.Store().Apply();
  CancelEdit();
}

void CWdsPage::OnCommand(int id, UiEvent event) {
  if ((id == kIdcWdsEnable || id == kIdcWdsDisable) && event == UiEvent::Clicked) {
    Control(kIdcWdsEnable).checked = id == kIdcWdsEnable;
    Control(kIdcWdsDisable).checked = id == kIdcWdsDisable;
    ApplyEnablingRule();
  } else if (id == kIdcWdsApply && event == UiEvent::Clicked) {
    Apply();
  } else {
    MacListPage::OnCommand(id, event);
  }
}

void CWdsPage::Apply() {
  const RegKey master = ctx_.MasterKey();
  bool enabled = Control(kIdcWdsEnable).checked;
  WriteInt(ctx_.registry, master, "WdsEnable", enabled ? 0 : 1);
  WriteList(ctx_.registry, master, "WdsList", StoredList());
  ctx_.Store().Apply();
  int32_t auth = ReadInt(ctx_.registry, master, "AuthenType", 0);
  std::string passphrase = ReadText(ctx_.registry, master, "WPAPSK", "");
  ctx_.activation.SendWds(enabled, Addresses(), auth, passphrase);
}

}  // namespace vx
