// A modal property sheet as a model: its page models in order, its caption, and the page it
// wants in front. Run through DialogPort::RunModal like a dialog; the view builds the sheet from
// the pages, and OK reaches the pages (each page passes it on to its sheet).
#pragma once
#include <string>
#include <vector>

#include "common/ui/dialog_model.h"

namespace vx {

class SheetModel : public DialogModel {
 public:
  // A sheet has no template of its own.
  uint32_t TemplateId() const override { return 0; }
  // The pages, in tab order; they live as long as the sheet.
  virtual std::vector<DialogModel*> Pages() = 0;

  std::string title;
  int startPage = 0;
  // Help hidden and disabled, the other buttons moved one place towards it.
  bool hideHelp = false;

  // After a failed OK: the page to bring to the front, read and cleared by the view.
  void RequestFrontPage(DialogModel* page) { frontPage_ = page; }
  DialogModel* TakeFrontPageRequest() {
    DialogModel* p = frontPage_;
    frontPage_ = nullptr;
    return p;
  }

 private:
  DialogModel* frontPage_ = nullptr;
};

}  // namespace vx
