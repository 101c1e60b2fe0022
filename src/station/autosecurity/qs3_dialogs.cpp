#include "station/autosecurity/qs3_dialogs.h"

#include "resources/string_ids.h"

namespace vx {
namespace {

// Characters, not bytes: a UTF-8 lead byte starts each one.
size_t CharacterCount(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

CQs3KeyDialog::CQs3KeyDialog(DialogPort& dialogs, const StringTable& strings, std::string apText)
    : dialogs_(dialogs), strings_(strings), apText_(std::move(apText)) {}

void CQs3KeyDialog::OnInit() {
  caption = strings_.Get(IDS_QS3_KEY_TITLE);
  Control(qs3key::kApText).text = apText_;
  std::string instruction = strings_.Get(IDS_QS3_KEY_INSTRUCTION);
  Control(qs3key::kInstruction).text = instruction;
  // A long instruction gets the room it needs: the dialog grows, the instruction with it, and
  // the edit, the note and the buttons keep their places above the new bottom edge.
  enlarged_ = CharacterCount(instruction) > kLongInstruction;
  growHeight = enlarged_ ? kEnlargement : 0;
  Control(qs3key::kInstruction).anchor = Anchor::Stretch;
  for (int id : {qs3key::kEdit, qs3key::kNote, static_cast<int>(kIdOk), static_cast<int>(kIdCancel)})
    Control(id).anchor = Anchor::Bottom;
  Control(qs3key::kNote).text = strings_.Get(IDS_QS3_KEY_NOTE);
  Control(qs3key::kNote).textColour = qs3key::kNoteColour;
  Control(qs3key::kEdit).maxLength = static_cast<int>(kMaxPassPhrase);
  Control(qs3key::kEdit).text.clear();
  passPhrase_.clear();
  RequestFocus(qs3key::kEdit);
}

bool CQs3KeyDialog::OnOk() {
  // Counted as the pass phrase is sent and hashed: in bytes. The edit's limit counts characters,
  // so a phrase of wider characters can still be too long here.
  const std::string& text = Control(qs3key::kEdit).text;
  uint32_t problem = text.size() < kMinPassPhrase ? IDS_PASSWORD_TOO_SHORT
                     : text.size() > kMaxPassPhrase ? IDS_PASSWORD_TOO_LONG
                                                    : 0;
  if (problem != 0) {
    dialogs_.MessageBox(strings_.Get(problem), caption, kMbOk | kMbIconError);
    RequestFocus(qs3key::kEdit);  // the view selects the whole text of a focused edit
    return false;
  }
  passPhrase_ = text;
  return true;
}

void CQs3WaitWindow::OnInit() {
  caption = strings_.Get(IDS_QS3_WAIT_TITLE);
}

void CQs3WaitWindow::SetShown(bool shown) {
  shown_ = shown;
  if (onShownChanged) onShownChanged(shown);
}

void CQs3WaitWindow::ShowProgress() {
  Control(qs3wait::kText).text = strings_.Get(IDS_QS3_PLEASE_WAIT);
  ControlState& ok = Control(kIdOk);
  ok.visible = false;
  ok.enabled = false;
  SetShown(true);
}

void CQs3WaitWindow::ShowFailure() {
  Control(qs3wait::kText).text = strings_.Get(IDS_QS3_FAILED);
  ControlState& ok = Control(kIdOk);
  ok.visible = true;
  ok.enabled = true;
  SetShown(true);
}

void CQs3WaitWindow::Hide() { SetShown(false); }

bool CQs3WaitWindow::OnOk() {
  Hide();
  return true;
}

}  // namespace vx
