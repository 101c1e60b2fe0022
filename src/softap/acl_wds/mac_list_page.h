// What the access control and WDS pages share: a list of station addresses shown with dashes,
// added from a MAC edit after the MAC check, deleted, cleared, and modified in place.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/hex.h"
#include "common/ui/dialog_model.h"
#include "softap/config/ap_page_context.h"

namespace vx {

struct MacListControls {
  int macEdit, add, del, removeAll, list, apply, inPlaceEdit, modify, cancel;
};

// "00AABBCCDDEE" to "00-AA-BB-CC-DD-EE" and back.
std::string DashedMac(const std::string& twelve);
std::string UndashedMac(const std::string& dashed);

class MacListPage : public DialogModel {
 public:
  // The MAC edits take no more than the twelve digits of an address.
  static constexpr int kMacDigits = 12;

  MacListPage(ApPageContext context, MacListControls ids, size_t capacity);
  void OnCommand(int id, UiEvent event) override;
  void OnCancel() override { CancelEdit(); }

  std::vector<std::string>& Entries() { return Control(ids_.list).items; }
  bool Editing() const { return editing_; }
  // The row the in-place editor covers; the view places the edit over it.
  int EditedRow() const { return editedRow_; }

  void Add();
  void Delete();
  void RemoveAll();
  void BeginEdit();
  void Modify();
  void CancelEdit();

 protected:
  // Whether the list controls are in use (a policy other than "Disable", WDS enabled).
  virtual bool ListEnabled() = 0;
  // Controls that the in-place editor disables besides APPLY and the list controls.
  virtual std::vector<int> PolicyControls() = 0;
  void ApplyEnablingRule();
  void LoadList(const std::vector<std::string>& stored);
  std::vector<std::string> StoredList();
  std::vector<MacAddress> Addresses();
  // The MAC check with its messages; the formatted text when it passes.
  std::optional<std::string> CheckMac(const std::string& text);
  bool Contains(const std::string& dashed, int except = -1);
  void Error(uint32_t textId);

  ApPageContext ctx_;
  MacListControls ids_;
  size_t capacity_;
  bool editing_ = false;
  int editedRow_ = -1;
};

// "Access Control": the policy (0 "Disable", 1 "Allow All", 2 "Reject All") and up to 32 stations.
class CAccessControlPage : public MacListPage {
 public:
  explicit CAccessControlPage(ApPageContext context);
  uint32_t TemplateId() const override;
  void OnInit() override;
  void OnCommand(int id, UiEvent event) override;
  void Apply();

 protected:
  bool ListEnabled() override;
  std::vector<int> PolicyControls() override;
};

// "WDS": enabled or disabled, and up to three peer access points.
class CWdsPage : public MacListPage {
 public:
  explicit CWdsPage(ApPageContext context);
  uint32_t TemplateId() const override;
  void OnInit() override;
  void OnCommand(int id, UiEvent event) override;
  void Apply();

 protected:
  bool ListEnabled() override;
  std::vector<int> PolicyControls() override;
};

}  // namespace vx
