// A scripted user: answers message boxes from a queue, runs modal dialogs through a handler,
// and records everything it was shown. Also a tray that records its states.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"
#include "platform/ui.h"

namespace vx {

class ScriptedUi : public DialogPort {
 public:
  struct Box {
    std::string text;
    std::string caption;
    uint32_t flags = 0;
  };
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    boxes.push_back({text, caption, flags});
    if (onBox) onBox(boxes.back());
    if (answers.empty()) return (flags & 0xF) == kMbYesNo ? kIdYes : kIdOk;
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  int RunModal(DialogModel& model) override {
    modalTemplates.push_back(model.TemplateId());
    model.OnInit();
    if (onModal) return onModal(model);
    return model.OnOk() ? kIdOk : kIdCancel;
  }

  std::vector<Box> boxes;
  std::deque<int> answers;
  std::function<int(DialogModel&)> onModal;
  // Runs while a box is up (before it is answered).
  std::function<void(const Box&)> onBox;
  std::vector<uint32_t> modalTemplates;
};

class FakeTray : public TrayPort {
 public:
  bool Add(uint32_t iconId, const std::string& tip) override {
    added = true;
    icon = iconId;
    this->tip = tip;
    return addSucceeds;
  }
  bool Modify(uint32_t iconId, const std::string& tip) override {
    icon = iconId;
    this->tip = tip;
    return added;
  }
  void Remove() override { added = false; }
  uint32_t TrackMenu(uint32_t menuId) override {
    menus.push_back(menuId);
    return nextCommand;
  }

  bool added = false;
  bool addSucceeds = true;
  uint32_t icon = 0;
  std::string tip;
  std::vector<uint32_t> menus;
  uint32_t nextCommand = 0;
};

class MapStrings : public StringTable {
 public:
  std::string Get(uint32_t id) const override {
    auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
  }
  std::map<uint32_t, std::string> table;
};

}  // namespace vx
