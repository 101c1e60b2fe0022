// The Win32 view layer under Wine: model-to-control copies, user input into the models, dialog
// ends, property sheets with page changes and custom buttons, bitmap buttons, tray, strings and
// the hidden main dialog. Run with "show" it opens a dialog and a sheet for screenshots instead.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/ui/dialog_model.h"
#include "tests/win32/check.h"
#include "tests/win32/ui/ui_test_ids.h"
#include "win32/ui/bitmap_button.h"
#include "win32/ui/hidden_dialog.h"
#include "win32/ui/model_dialog.h"
#include "win32/ui/model_property_sheet.h"
#include "win32/ui/view_registry.h"
#include "common/ui/sheet_model.h"
#include "win32/ui/win32_dialogs.h"
#include "win32/ui/win32_tray.h"
#include "win32/ports/win32_ports.h"

using namespace vx;

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (PreTranslateViews(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// Pumps until `done` holds; the bound only keeps a broken build from hanging.
bool PumpUntil(const std::function<bool()>& done) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 10000) return false;
    Pump();
    Sleep(5);
  }
  return true;
}

// Actions run from a thread timer while a modal loop owns the thread.
std::vector<std::function<void()>>& Steps() {
  static std::vector<std::function<void()>> steps;
  return steps;
}
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (Steps().empty()) {
    KillTimer(nullptr, id);
    return;
  }
  auto step = Steps().front();
  Steps().erase(Steps().begin());
  step();
}
UINT_PTR RunSteps(std::vector<std::function<void()>> steps) {
  Steps() = std::move(steps);
  return SetTimer(nullptr, 0, 60, StepTimer);
}

std::wstring Text(HWND hwnd) {
  wchar_t buf[512];
  int n = GetWindowTextW(hwnd, buf, 512);
  return std::wstring(buf, static_cast<size_t>(n > 0 ? n : 0));
}

std::wstring Cell(HWND list, int row, int col) {
  wchar_t buf[256] = {};
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = buf;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buf;
}

int RowImage(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

int Selected(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void UserSelectRow(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Command(HWND dialog, int id, UINT code) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND FindTopLevel(const wchar_t* caption) { return FindWindowW(nullptr, caption); }

struct EventLog {
  std::vector<std::pair<int, UiEvent>> events;
  int Count(int id, UiEvent e) const {
    int n = 0;
    for (const auto& ev : events) n += ev.first == id && ev.second == e;
    return n;
  }
};

class TestDialogModel : public DialogModel, public EventLog {
 public:
  uint32_t TemplateId() const override { return IDD_TEST_DIALOG; }
  void OnInit() override {
    ++inits;
    Control(IDC_LABEL).text = "Signal";
    Control(IDC_EDIT).text = "Home";
    Control(IDC_CHECK).checked = true;
    Control(IDC_RADIO1).checked = true;
    Control(IDC_RADIO2).checked = false;
    Control(IDC_GROUP).enabled = false;  // no text: the template's caption stays
    auto& combo = Control(IDC_COMBO);
    combo.items = {"B/G mixed", "B only", "G only"};
    combo.selection = 2;
    auto& list = Control(IDC_LIST);
    list.items = {"alpha", "beta", "gamma"};
    list.selection = 1;
    auto& report = Control(IDC_REPORT);
    report.columns = {{"SSID", 120}, {"Channel", 0}};
    report.rows = {{{"Home", "6"}, 0}, {{"Office", "11"}, -1}, {{"Cafe", "1"}, 1}};
    report.selection = 1;
    report.listImages = {IDI_TEST_GOOD, IDI_TEST_DISC};
    report.listStyle = kListGridLines | kListFullRowSelect | kListInfoTips;
    Control(IDC_EDIT).maxLength = 20;
    growHeight = grow;
    Control(IDC_PUSH).anchor = Anchor::Bottom;
    Control(IDC_LIST).anchor = Anchor::Stretch;
    Control(IDOK).anchor = Anchor::Bottom;
    auto& track = Control(IDC_TRACK);
    track.rangeMax = 2347;
    track.position = 2000;
    Control(IDC_IP).text = "192.168.1.20";
    Control(IDC_PROGRESS).position = 63;
    Control(IDC_PICTURE).image = IDI_TEST_GOOD;
    Control(IDC_SETUP).image = IDB_TEST_SETUP;
    Control(IDC_COLOURED).text = "Connected";
    Control(IDC_COLOURED).textColour = RGB(0, 128, 0);
  }
  void OnListWidth(int id, int pixels) override {
    listWidths.push_back({id, pixels});
    // The widths the model derives reach the columns before they are first shown.
    if (id == IDC_REPORT) Control(IDC_REPORT).columns[0].width = pixels / 2;
  }
  void OnCommand(int id, UiEvent e) override {
    events.push_back({id, e});
    if (id == IDC_PUSH) Control(IDC_LABEL).text = "Pressed";
    if (id == IDC_EDIT && e == UiEvent::TextChanged) Control(IDC_LABEL).text = "Typed " + Control(IDC_EDIT).text;
    if (onCommand) onCommand(id, e);
  }
  bool OnOk() override {
    ++oks;
    if (okRefusals > 0) {
      --okRefusals;
      return false;
    }
    return true;
  }
  void OnCancel() override { ++cancels; }
  void OnTimer(int) override { ++timers; }

  std::function<void(int, UiEvent)> onCommand;
  int inits = 0, oks = 0, cancels = 0, timers = 0, okRefusals = 0;
  int grow = 0;  // the growHeight OnInit asks for
  std::vector<std::pair<int, int>> listWidths;
};

class TestPageModel : public DialogModel, public EventLog {
 public:
  explicit TestPageModel(uint32_t templateId, std::string title) : templateId_(templateId) { caption = title; }
  uint32_t TemplateId() const override { return templateId_; }
  void OnInit() override {
    ++inits;
    if (templateId_ == IDD_TEST_PAGE1) {
      Control(IDC_PAGE_EDIT).text = caption + " text";
      auto& report = Control(IDC_PAGE_REPORT);
      report.columns = {{"Profile Name", 110}, {"SSID", 110}};
      report.rows = {{{"PROF001", "Home"}, 0}, {{"PROF002", "ANY"}, -1}};
    } else {
      Control(IDC_PAGE_CHECK).checked = true;
      Control(IDC_PAGE_PROGRESS).position = 40;
    }
  }
  void OnCommand(int id, UiEvent e) override {
    events.push_back({id, e});
    if (closeOnClick && id == IDC_PAGE_CHECK) RequestClose(kIdOk);
    if (onClick && id == IDC_PAGE_CHECK) onClick();
  }
  void OnSetActive() override { ++setActive; }
  bool OnKillActive() override {
    ++killActive;
    return allowLeave;
  }
  bool OnOk() override {
    ++oks;
    return true;
  }
  void OnCancel() override { ++cancels; }

  int inits = 0, setActive = 0, killActive = 0, oks = 0, cancels = 0;
  bool allowLeave = true;
  bool closeOnClick = false;
  std::function<void()> onClick;

 private:
  uint32_t templateId_;
};

}  // namespace

TEST_CASE("model state reaches every kind of control") {
  TestDialogModel m;
  ModelDialog view(Module(), m);
  view.UseBitmapButton(IDC_SETUP);
  CHECK(view.CreateModeless(nullptr));
  HWND d = view.Hwnd();
  CHECK(d != nullptr);
  CHECK(m.inits == 1);
  CHECK(Text(GetDlgItem(d, IDC_LABEL)) == L"Signal");
  CHECK(Text(GetDlgItem(d, IDC_EDIT)) == L"Home");
  CHECK(Text(GetDlgItem(d, IDC_GROUP)) == L"Template group");
  CHECK(!IsWindowEnabled(GetDlgItem(d, IDC_GROUP)));
  CHECK(SendDlgItemMessageW(d, IDC_CHECK, BM_GETCHECK, 0, 0) == BST_CHECKED);
  CHECK(SendDlgItemMessageW(d, IDC_RADIO1, BM_GETCHECK, 0, 0) == BST_CHECKED);
  CHECK(SendDlgItemMessageW(d, IDC_COMBO, CB_GETCOUNT, 0, 0) == 3);
  CHECK(SendDlgItemMessageW(d, IDC_COMBO, CB_GETCURSEL, 0, 0) == 2);
  CHECK(SendDlgItemMessageW(d, IDC_LIST, LB_GETCOUNT, 0, 0) == 3);
  CHECK(SendDlgItemMessageW(d, IDC_LIST, LB_GETCURSEL, 0, 0) == 1);
  HWND report = GetDlgItem(d, IDC_REPORT);
  CHECK(SendMessageW(report, LVM_GETITEMCOUNT, 0, 0) == 3);
  HWND header = reinterpret_cast<HWND>(SendMessageW(report, LVM_GETHEADER, 0, 0));
  CHECK(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) == 2);
  // The model heard the list's client width once, before the columns were made.
  RECT client{};
  GetClientRect(report, &client);
  CHECK(m.listWidths.size() == 1);
  CHECK(m.listWidths[0] == std::make_pair(int(IDC_REPORT), int(client.right)));
  CHECK(client.right > 300);
  CHECK(SendMessageW(report, LVM_GETCOLUMNWIDTH, 0, 0) == client.right / 2);
  CHECK(SendMessageW(report, LVM_GETCOLUMNWIDTH, 1, 0) > 0);  // sized by the view
  CHECK(Cell(report, 1, 0) == L"Office");
  CHECK(Cell(report, 2, 1) == L"1");
  CHECK(RowImage(report, 0) == 0);
  CHECK(RowImage(report, 1) == I_IMAGENONE);  // -1 in the model is no image, not a callback
  CHECK(Selected(report) == 1);
  CHECK((SendMessageW(report, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x421) == 0x421);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(report, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  CHECK(images != nullptr);
  CHECK(ImageList_GetImageCount(images) == 2);
  CHECK(SendDlgItemMessageW(d, IDC_EDIT, EM_GETLIMITTEXT, 0, 0) == 20);
  {
    // The coloured label is drawn in its model's colour; the others in the system's.
    HDC dc = GetDC(d);
    SetTextColor(dc, RGB(1, 2, 3));
    LRESULT brush = SendMessageW(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_COLOURED)));
    CHECK(brush != 0);
    CHECK(GetTextColor(dc) == RGB(0, 128, 0));
    SendMessageW(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_LABEL)));
    CHECK(GetTextColor(dc) != RGB(0, 128, 0));
    ReleaseDC(d, dc);
  }
  HWND track = GetDlgItem(d, IDC_TRACK);
  CHECK(SendMessageW(track, TBM_GETRANGEMAX, 0, 0) == 2347);
  CHECK(SendMessageW(track, TBM_GETPOS, 0, 0) == 2000);
  DWORD addr = 0;
  SendDlgItemMessageW(d, IDC_IP, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&addr));
  CHECK(addr == static_cast<DWORD>(MAKEIPADDRESS(192, 168, 1, 20)));
  CHECK(SendDlgItemMessageW(d, IDC_PROGRESS, PBM_GETPOS, 0, 0) == 63);
  CHECK(SendDlgItemMessageW(d, IDC_PICTURE, STM_GETICON, 0, 0) != 0);
  HWND setup = GetDlgItem(d, IDC_SETUP);
  CHECK(IsBitmapButton(setup));
  CHECK(BitmapButtonImageSize(setup).cx == 48 && BitmapButtonImageSize(setup).cy == 20);

  // Visibility and enabled state follow the model both ways.
  m.Control(IDC_PUSH).visible = false;
  m.Control(IDC_LIST).enabled = false;
  view.Refresh();
  CHECK(!IsWindowVisible(GetDlgItem(d, IDC_PUSH)));
  CHECK(!IsWindowEnabled(GetDlgItem(d, IDC_LIST)));
  m.Control(IDC_PUSH).visible = true;
  view.Refresh();
  CHECK(IsWindowVisible(GetDlgItem(d, IDC_PUSH)));

  // A model text that is not an address clears the control rather than showing a wrong one.
  m.Control(IDC_IP).text = "300.1.2.3";
  view.Refresh();
  CHECK(SendDlgItemMessageW(d, IDC_IP, IPM_ISBLANK, 0, 0) != 0);
}

// A model that asks for more height gets it: controls anchored to the bottom move down with the
// bottom edge, stretched ones grow, the others stay; asking for less gives it back.
TEST_CASE("a dialog grows as its model asks") {
  auto rectOf = [](HWND parent, int id) {
    RECT rc{};
    GetWindowRect(GetDlgItem(parent, id), &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  };
  RECT plain{}, label{}, push{}, list{}, ok{};
  {
    TestDialogModel m;
    ModelDialog view(Module(), m);
    CHECK(view.CreateModeless(nullptr));
    GetWindowRect(view.Hwnd(), &plain);
    label = rectOf(view.Hwnd(), IDC_LABEL);
    push = rectOf(view.Hwnd(), IDC_PUSH);
    list = rectOf(view.Hwnd(), IDC_LIST);
    ok = rectOf(view.Hwnd(), IDOK);
  }
  TestDialogModel m;
  m.grow = 90;
  ModelDialog view(Module(), m);
  CHECK(view.CreateModeless(nullptr));
  HWND d = view.Hwnd();
  RECT grown{};
  GetWindowRect(d, &grown);
  CHECK(grown.bottom - grown.top == plain.bottom - plain.top + 90);
  CHECK(grown.right - grown.left == plain.right - plain.left);
  CHECK(rectOf(d, IDC_LABEL).top == label.top);
  CHECK(rectOf(d, IDC_PUSH).top == push.top + 90);
  CHECK(rectOf(d, IDC_PUSH).bottom - rectOf(d, IDC_PUSH).top == push.bottom - push.top);
  CHECK(rectOf(d, IDOK).top == ok.top + 90);
  CHECK(rectOf(d, IDC_LIST).top == list.top);
  CHECK(rectOf(d, IDC_LIST).bottom - rectOf(d, IDC_LIST).top > list.bottom - list.top + 60);  // whole items
  m.growHeight = 0;
  view.Refresh();
  GetWindowRect(d, &grown);
  CHECK(grown.bottom - grown.top == plain.bottom - plain.top);
  CHECK(rectOf(d, IDOK).top == ok.top);
}

namespace {

BOOL CALLBACK CollectTips(HWND hwnd, LPARAM lp) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (!lstrcmpiW(cls, TOOLTIPS_CLASSW)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

// What a tip of the dialog would show for `control` now, asked as the tooltip asks; nullopt when
// no tip has a tool for it.
std::optional<std::wstring> TipFor(HWND dialog, HWND control) {
  std::vector<HWND> tips;
  EnumThreadWindows(GetCurrentThreadId(), CollectTips, reinterpret_cast<LPARAM>(&tips));
  for (HWND tip : tips) {
    if (GetWindow(tip, GW_OWNER) != dialog) continue;
    int n = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      TOOLINFOW tool = {};
      tool.cbSize = sizeof tool;
      if (!SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool))) continue;
      if (reinterpret_cast<HWND>(tool.uId) != control) continue;
      NMTTDISPINFOW info = {};
      info.hdr.hwndFrom = tip;
      info.hdr.idFrom = tool.uId;
      info.hdr.code = TTN_GETDISPINFOW;
      SendMessageW(tool.hwnd, WM_NOTIFY, tool.uId, reinterpret_cast<LPARAM>(&info));
      return std::wstring(info.lpszText ? info.lpszText : info.szText);
    }
  }
  return std::nullopt;
}

int WidthIn(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

}  // namespace

TEST_CASE("a label cut short with an ellipsis shows its whole text in a tip; dropped lists fit their items") {
  TestDialogModel m;
  ModelDialog view(Module(), m);
  CHECK(view.CreateModeless(nullptr));
  HWND d = view.Hwnd();
  HWND label = GetDlgItem(d, IDC_ELLIPSIS);
  // Mouse input reaches the label, so its tip can show.
  CHECK((GetWindowLongW(label, GWL_STYLE) & SS_NOTIFY) != 0);
  m.Control(IDC_ELLIPSIS).text = "Short";
  view.Refresh();
  auto tip = TipFor(d, label);
  CHECK(tip && tip->empty());  // a text that fits needs no tip
  const std::string wide(32, 'W');
  m.Control(IDC_ELLIPSIS).text = "Connected <--> " + wide;
  view.Refresh();
  tip = TipFor(d, label);
  CHECK(tip && *tip == L"Connected <--> " + std::wstring(32, L'W'));
  CHECK(!TipFor(d, GetDlgItem(d, IDC_LABEL)));  // labels without an ellipsis get no tip

  HWND combo = GetDlgItem(d, IDC_COMBO);
  RECT box = {};
  GetWindowRect(combo, &box);
  CHECK(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0) >= box.right - box.left);  // never narrower
  m.Control(IDC_COMBO).items = {"B/G mixed", wide};
  view.Refresh();
  CHECK(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0) >=
        WidthIn(combo, std::wstring(32, L'W')) + GetSystemMetrics(SM_CXVSCROLL));
}

TEST_CASE("only what changed since the last copy is copied again") {
  TestDialogModel m;
  ModelDialog view(Module(), m);
  CHECK(view.CreateModeless(nullptr));
  HWND d = view.Hwnd();
  HWND combo = GetDlgItem(d, IDC_COMBO);
  HWND report = GetDlgItem(d, IDC_REPORT);

  // A control changed behind the binder's back keeps its value while other fields change.
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  m.Control(IDC_LABEL).text = "Weak";
  view.Refresh();
  CHECK(Text(GetDlgItem(d, IDC_LABEL)) == L"Weak");
  CHECK(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 0);
  m.Control(IDC_COMBO).selection = 1;
  view.Refresh();
  CHECK(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 1);

  // Rows: changed cells are rewritten and rows appended; the user's selection stays.
  UserSelectRow(report, 2);
  Pump();
  CHECK(m.Control(IDC_REPORT).selection == 2);
  CHECK(m.Count(IDC_REPORT, UiEvent::SelectionChanged) == 1);
  auto& rows = m.Control(IDC_REPORT).rows;
  rows[0].cells[1] = "7";
  rows[1].image = 1;
  rows.push_back({{"Library", "3"}, -1});
  view.Refresh();
  CHECK(SendMessageW(report, LVM_GETITEMCOUNT, 0, 0) == 4);
  CHECK(Cell(report, 0, 1) == L"7");
  CHECK(Cell(report, 0, 0) == L"Home");
  CHECK(RowImage(report, 1) == 1);
  CHECK(Cell(report, 3, 0) == L"Library");
  CHECK(Selected(report) == 2);

  // The user clearing the selection reaches the model once the list has settled.
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  SendMessageW(report, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  Pump();
  CHECK(m.Control(IDC_REPORT).selection == -1);
  CHECK(m.Count(IDC_REPORT, UiEvent::SelectionChanged) == 2);
  UserSelectRow(report, 2);
  Pump();
  CHECK(m.Count(IDC_REPORT, UiEvent::SelectionChanged) == 3);

  // Rows removed from the end; a selection beyond the rows is no selection.
  rows.resize(1);
  view.Refresh();
  CHECK(SendMessageW(report, LVM_GETITEMCOUNT, 0, 0) == 1);
  CHECK(Selected(report) == -1);

  // New columns replace the old ones.
  m.Control(IDC_REPORT).columns = {{"A", 50}, {"B", 50}, {"C", 50}};
  view.Refresh();
  HWND header = reinterpret_cast<HWND>(SendMessageW(report, LVM_GETHEADER, 0, 0));
  CHECK(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) == 3);

  // The binder's own changes are not reported back as the user's.
  size_t before = m.events.size();
  m.Control(IDC_EDIT).text = "From the model";
  m.Control(IDC_REPORT).selection = 0;
  m.Control(IDC_IP).text = "10.1.1.1";
  view.Refresh();
  CHECK(m.events.size() == before);
  CHECK(Text(GetDlgItem(d, IDC_EDIT)) == L"From the model");
  CHECK(Selected(report) == 0);
}

TEST_CASE("user input is copied into the model before the event reaches it") {
  TestDialogModel m;
  ModelDialog view(Module(), m);
  view.UseBitmapButton(IDC_SETUP);
  CHECK(view.CreateModeless(nullptr));
  HWND d = view.Hwnd();

  SetWindowTextW(GetDlgItem(d, IDC_EDIT), L"Office");
  Command(d, IDC_EDIT, EN_CHANGE);
  CHECK(m.Control(IDC_EDIT).text == "Office");
  CHECK(m.Count(IDC_EDIT, UiEvent::TextChanged) >= 1);
  // The model's answer to the event is on screen at once.
  CHECK(Text(GetDlgItem(d, IDC_LABEL)) == L"Typed Office");
  Command(d, IDC_EDIT, EN_KILLFOCUS);
  CHECK(m.Count(IDC_EDIT, UiEvent::KillFocus) == 1);

  SendDlgItemMessageW(d, IDC_CHECK, BM_CLICK, 0, 0);
  CHECK(!m.Control(IDC_CHECK).checked);
  CHECK(m.Count(IDC_CHECK, UiEvent::Clicked) == 1);
  SendDlgItemMessageW(d, IDC_RADIO2, BM_CLICK, 0, 0);
  CHECK(m.Control(IDC_RADIO2).checked);
  CHECK(!m.Control(IDC_RADIO1).checked);

  SendDlgItemMessageW(d, IDC_COMBO, CB_SETCURSEL, 0, 0);
  Command(d, IDC_COMBO, CBN_SELCHANGE);
  CHECK(m.Control(IDC_COMBO).selection == 0);
  CHECK(m.Count(IDC_COMBO, UiEvent::SelectionChanged) == 1);
  SendDlgItemMessageW(d, IDC_LIST, LB_SETCURSEL, 2, 0);
  Command(d, IDC_LIST, LBN_SELCHANGE);
  CHECK(m.Control(IDC_LIST).selection == 2);

  HWND report = GetDlgItem(d, IDC_REPORT);
  NMITEMACTIVATE nm{};
  nm.hdr.hwndFrom = report;
  nm.hdr.idFrom = IDC_REPORT;
  nm.hdr.code = NM_DBLCLK;
  nm.iItem = 0;
  SendMessageW(d, WM_NOTIFY, IDC_REPORT, reinterpret_cast<LPARAM>(&nm));
  CHECK(m.Control(IDC_REPORT).selection == 0);
  CHECK(m.Count(IDC_REPORT, UiEvent::DoubleClicked) == 1);

  HWND track = GetDlgItem(d, IDC_TRACK);
  SendMessageW(track, TBM_SETPOS, TRUE, 100);
  SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 100), reinterpret_cast<LPARAM>(track));
  SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(track));
  CHECK(m.Control(IDC_TRACK).position == 100);
  CHECK(m.Count(IDC_TRACK, UiEvent::SelectionChanged) == 1);  // the end of the drag adds nothing

  HWND ip = GetDlgItem(d, IDC_IP);
  SendMessageW(ip, IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 0, 0, 1));
  Command(d, IDC_IP, EN_CHANGE);
  CHECK(m.Control(IDC_IP).text == "10.0.0.1");
  SendMessageW(ip, IPM_CLEARADDRESS, 0, 0);
  Command(d, IDC_IP, EN_CHANGE);
  CHECK(m.Control(IDC_IP).text.empty());

  SendDlgItemMessageW(d, IDC_PUSH, BM_CLICK, 0, 0);
  CHECK(m.Count(IDC_PUSH, UiEvent::Clicked) == 1);
  CHECK(Text(GetDlgItem(d, IDC_LABEL)) == L"Pressed");
  SendDlgItemMessageW(d, IDC_SETUP, BM_CLICK, 0, 0);
  CHECK(m.Count(IDC_SETUP, UiEvent::Clicked) == 1);
  // A disabled bitmap button reports nothing.
  m.Control(IDC_SETUP).enabled = false;
  view.Refresh();
  SendDlgItemMessageW(d, IDC_SETUP, BM_CLICK, 0, 0);
  CHECK(m.Count(IDC_SETUP, UiEvent::Clicked) == 1);
}

TEST_CASE("bitmap buttons track the mouse, show a hand and report clicks") {
  HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, Module(), nullptr);
  HWND b = CreateBitmapButton(parent, 5000, RECT{10, 10, 70, 40}, BitmapButtonLook::Flat);
  CHECK(b != nullptr);
  SetBitmapButtonImage(b, Module(), IDB_TEST_SETUP);
  CHECK(BitmapButtonImageSize(b).cx == 48);
  SetBitmapButtonImage(b, Module(), IDI_TEST_ON);  // no such bitmap: taken as an icon
  CHECK(BitmapButtonImageSize(b).cx > 0);
  int clicks = 0;
  SetBitmapButtonClick(b, [&] { ++clicks; });
  SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  CHECK(BitmapButtonHovered(b));
  SendMessageW(b, WM_MOUSELEAVE, 0, 0);
  CHECK(!BitmapButtonHovered(b));
  CHECK(SendMessageW(b, WM_SETCURSOR, reinterpret_cast<WPARAM>(b), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE);
  CHECK(GetCursor() == LoadCursorW(nullptr, IDC_HAND));
  // Press and release inside is a click; released outside it is not.
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  CHECK(clicks == 1);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 5));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  CHECK(clicks == 1);
  SendMessageW(b, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(b, WM_KEYUP, VK_SPACE, 0);
  CHECK(clicks == 2);
  // The callback may destroy its own button.
  SetBitmapButtonClick(b, [&] { DestroyWindow(b); });
  SendMessageW(b, BM_CLICK, 0, 0);
  CHECK(!IsWindow(b));
  DestroyWindow(parent);
}

TEST_CASE("dialogs end through OK, Cancel and the model's requests") {
  TestDialogModel m;
  m.okRefusals = 1;
  RunSteps({[] { PostMessageW(FindTopLevel(L"Model Test"), WM_COMMAND, IDOK, 0); },
            [] { PostMessageW(FindTopLevel(L"Model Test"), WM_COMMAND, IDOK, 0); }});
  Win32Dialogs dialogs(Module());
  CHECK(dialogs.RunModal(m) == kIdOk);
  CHECK(m.oks == 2);  // the first OK was refused and the dialog stayed

  // A close request from an event ends the dialog with the model's result; the same model then
  // runs again without the old request ending it at once.
  TestDialogModel c;
  c.onCommand = [&](int id, UiEvent) {
    if (id == IDC_PUSH) c.RequestClose(42);
  };
  RunSteps({[] { PostMessageW(FindTopLevel(L"Model Test"), WM_COMMAND, MAKEWPARAM(IDC_PUSH, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(FindTopLevel(L"Model Test"), IDC_PUSH))); }});
  CHECK(dialogs.RunModal(c) == 42);
  RunSteps({[] { PostMessageW(FindTopLevel(L"Model Test"), WM_COMMAND, IDCANCEL, 0); }});
  CHECK(dialogs.RunModal(c) == kIdCancel);
  CHECK(c.cancels == 1);
  CHECK(c.inits == 2);

  // Modeless: focus request, window timer, close request.
  TestDialogModel f;
  ModelDialog view(Module(), f);
  int closedWith = 0;
  view.onClosed = [&](int r) { closedWith = r; };
  f.onCommand = [&](int id, UiEvent) {
    if (id == IDC_PUSH) f.RequestFocus(IDC_EDIT);
    if (id == IDC_CHECK) f.RequestClose(kIdOk);
  };
  CHECK(view.CreateModeless(nullptr));
  SetForegroundWindow(view.Hwnd());
  SendDlgItemMessageW(view.Hwnd(), IDC_PUSH, BM_CLICK, 0, 0);
  CHECK(GetFocus() == GetDlgItem(view.Hwnd(), IDC_EDIT));
  CHECK(view.StartTimer(7, 20));
  CHECK(PumpUntil([&] { return f.timers > 0; }));
  view.StopTimer(7);
  SendDlgItemMessageW(view.Hwnd(), IDC_CHECK, BM_CLICK, 0, 0);
  CHECK(PumpUntil([&] { return view.Hwnd() == nullptr; }));
  CHECK(closedWith == kIdOk);

  // The close box of a modeless dialog is its Cancel.
  TestDialogModel x;
  ModelDialog xv(Module(), x);
  CHECK(xv.CreateModeless(nullptr));
  PostMessageW(xv.Hwnd(), WM_CLOSE, 0, 0);
  CHECK(PumpUntil([&] { return xv.Hwnd() == nullptr; }));
  CHECK(x.cancels == 1);
}

TEST_CASE("message boxes and the string table") {
  Win32Dialogs dialogs(Module());
  RunSteps({[] { PostMessageW(FindTopLevel(L"Box \u6E2C\u8A66"), WM_COMMAND, IDNO, 0); }});
  CHECK(dialogs.MessageBox("Delete it?", "Box \xE6\xB8\xAC\xE8\xA9\xA6", kMbYesNo | kMbIconQuestion) == kIdNo);

  Win32Strings strings(Module());
  CHECK(strings.Get(IDS_TEST_CAPTION) == "Arventa Client Utility");
  CHECK(strings.Get(IDS_TEST_TIP) == "ARVENTA Wireless LAN Card\nStatus : Good (%s)");
  CHECK(strings.Get(IDS_TEST_CHINESE) == "\xE7\x84\xA1\xE7\xB7\x9A\xE7\xB6\xB2\xE8\xB7\xAF\xE5\x8D\xA1");
  CHECK(strings.Get(IDS_TEST_LONG).size() == 280);  // longer than the first buffer
  CHECK(strings.Get(9999).empty());
}

TEST_CASE("property sheet: pages hear activation, pages change, custom buttons") {
  TestPageModel first(IDD_TEST_PAGE1, "Profile"), second(IDD_TEST_PAGE2, "Link Status"),
      third(IDD_TEST_PAGE2, "About");
  ModelPropertySheet sheet(Module());
  sheet.AddPage(first);
  sheet.AddPage(second);
  CHECK(!sheet.AddPage(first));
  sheet.SetCaption("Arventa Client Utility");
  sheet.SetSmallIcon(IDI_TEST_DISC);
  sheet.HideHelpMoveOk();
  int radioClicks = 0, setupClicks = 0;
  sheet.ReplaceApplyWithIconButton(5001, IDI_TEST_ON, [&] { ++radioClicks; });
  sheet.AddBitmapButton(5000, IDB_TEST_SETUP, [&] { ++setupClicks; });
  int closedWith = 0;
  sheet.onClosed = [&](int r) { closedWith = r; };
  CHECK(sheet.CreateModeless(nullptr));
  HWND s = sheet.Hwnd();
  CHECK(s != nullptr);
  Pump();
  CHECK(Text(s) == L"Arventa Client Utility");
  CHECK(first.inits == 1 && first.setActive == 1);
  CHECK(second.inits == 0);  // pages are made when first shown
  CHECK(sheet.ActivePage() == &first);
  HWND firstPage = reinterpret_cast<HWND>(SendMessageW(s, PSM_GETCURRENTPAGEHWND, 0, 0));
  CHECK(Text(GetDlgItem(firstPage, IDC_PAGE_EDIT)) == L"Profile text");
  CHECK(SendDlgItemMessageW(firstPage, IDC_PAGE_REPORT, LVM_GETITEMCOUNT, 0, 0) == 2);
  CHECK(SendMessageW(s, WM_GETICON, ICON_SMALL, 0) != 0);

  // Switching pages: the old page may refuse, then lets go; the new one initialises and activates.
  first.allowLeave = false;
  SendMessageW(s, PSM_SETCURSEL, 1, 0);
  CHECK(first.killActive == 1);
  CHECK(sheet.ActivePage() == &first);
  first.allowLeave = true;
  SendMessageW(s, PSM_SETCURSEL, 1, 0);
  CHECK(first.killActive == 2);
  CHECK(second.inits == 1 && second.setActive == 1);
  CHECK(sheet.ActivePage() == &second);
  HWND secondPage = reinterpret_cast<HWND>(SendMessageW(s, PSM_GETCURRENTPAGEHWND, 0, 0));
  CHECK(SendDlgItemMessageW(secondPage, IDC_PAGE_CHECK, BM_GETCHECK, 0, 0) == BST_CHECKED);
  SendDlgItemMessageW(secondPage, IDC_PAGE_CHECK, BM_CLICK, 0, 0);
  CHECK(!second.Control(IDC_PAGE_CHECK).checked);
  CHECK(second.Count(IDC_PAGE_CHECK, UiEvent::Clicked) == 1);

  // The button row: help hidden with OK in its place, an icon button where Apply was, the bitmap
  // button in the row; their clicks reach their callbacks and no page.
  HWND help = GetDlgItem(s, IDHELP), ok = GetDlgItem(s, IDOK), apply = GetDlgItem(s, 0x3021);
  HWND radio = GetDlgItem(s, 5001), setup = GetDlgItem(s, 5000);
  CHECK(!IsWindowVisible(help));
  CHECK(!IsWindowVisible(apply));
  RECT rHelp, rOk, rApply, rRadio, rSetup, rCancel;
  GetWindowRect(help, &rHelp);
  GetWindowRect(ok, &rOk);
  GetWindowRect(apply, &rApply);
  GetWindowRect(GetDlgItem(s, IDCANCEL), &rCancel);
  CHECK(EqualRect(&rHelp, &rOk));
  CHECK(IsBitmapButton(radio) && IsWindowVisible(radio));
  GetWindowRect(radio, &rRadio);
  CHECK(EqualRect(&rApply, &rRadio));
  CHECK(IsBitmapButton(setup) && IsWindowVisible(setup));
  GetWindowRect(setup, &rSetup);
  CHECK(rSetup.right <= rCancel.left && rSetup.top < rCancel.bottom && rSetup.bottom > rCancel.top);
  SendMessageW(setup, BM_CLICK, 0, 0);
  SendMessageW(radio, BM_CLICK, 0, 0);
  CHECK(setupClicks == 1 && radioClicks == 1);
  CHECK(first.Count(5000, UiEvent::Clicked) == 0 && second.Count(5000, UiEvent::Clicked) == 0);
  sheet.SetButtonImage(5001, IDI_TEST_OFF);
  CHECK(BitmapButtonImageSize(radio).cx > 0);

  // Pages join and leave the open sheet.
  HWND tab = reinterpret_cast<HWND>(SendMessageW(s, PSM_GETTABCONTROL, 0, 0));
  CHECK(sheet.AddPage(third));
  CHECK(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) == 3);
  CHECK(sheet.RemovePage(first));
  CHECK(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) == 2);
  CHECK(!sheet.HasPage(first));
  CHECK(sheet.AddPage(first, 0));
  CHECK(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) == 3);
  CHECK(sheet.SetActivePage(third));
  CHECK(third.inits == 1 && sheet.ActivePage() == &third);

  // OK applies every page made so far and ends the sheet, which then goes.
  SendMessageW(s, PSM_PRESSBUTTON, PSBTN_OK, 0);
  CHECK(PumpUntil([&] { return sheet.Hwnd() == nullptr; }));
  CHECK(closedWith == kIdOk);
  CHECK(second.oks == 1 && third.oks == 1);
  CHECK(!IsWindow(s));

  // It opens again with the same pages.
  CHECK(sheet.CreateModeless(nullptr));
  CHECK(first.inits == 2);
  sheet.Destroy();
  CHECK(sheet.Hwnd() == nullptr);
  CHECK(closedWith == kIdCancel);
}

TEST_CASE("a modal sheet ends with Cancel and with OK") {
  TestPageModel first(IDD_TEST_PAGE1, "One"), second(IDD_TEST_PAGE2, "Two");
  ModelPropertySheet sheet(Module());
  sheet.AddPage(first);
  sheet.AddPage(second);
  sheet.SetCaption("Modal sheet");
  sheet.SetStartPage(1);
  RunSteps({[] { PostMessageW(FindTopLevel(L"Modal sheet"), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }});
  CHECK(sheet.RunModal(nullptr) == kIdCancel);
  CHECK(second.setActive == 1 && first.inits == 0);
  CHECK(second.cancels == 1);
  RunSteps({[] { PostMessageW(FindTopLevel(L"Modal sheet"), PSM_PRESSBUTTON, PSBTN_OK, 0); }});
  CHECK(sheet.RunModal(nullptr) == kIdOk);
  CHECK(second.oks == 1);
  CHECK(sheet.Hwnd() == nullptr);

  // A page model's close request presses the sheet's button.
  second.closeOnClick = true;
  RunSteps({[] {
    HWND page = reinterpret_cast<HWND>(SendMessageW(FindTopLevel(L"Modal sheet"), PSM_GETCURRENTPAGEHWND, 0, 0));
    SendDlgItemMessageW(page, IDC_PAGE_CHECK, BM_CLICK, 0, 0);
  }});
  CHECK(sheet.RunModal(nullptr) == kIdOk);
  CHECK(second.oks == 2);
}

// A sheet model run through the dialog port, as the profile editor sheets are.
class TestSheetModel : public SheetModel {
 public:
  TestSheetModel() : page(IDD_TEST_PAGE2, "Two") { title = "Editor sheet"; }
  std::vector<DialogModel*> Pages() override { return {&page}; }
  TestPageModel page;
};

HWND CurrentPage(const wchar_t* sheet) {
  return reinterpret_cast<HWND>(SendMessageW(FindTopLevel(sheet), PSM_GETCURRENTPAGEHWND, 0, 0));
}

TEST_CASE("a modal model sheet asked to close from outside ends as Cancel, after its own box") {
  Win32Dialogs dialogs(Module());
  TestSheetModel editor;
  RunSteps({[&] {
    editor.RequestClose(kIdCancel);
    RefreshViews();
  }});
  CHECK(dialogs.RunModal(editor) == kIdCancel);
  CHECK(editor.page.cancels == 1);

  // A box of a page's handler is up when the request comes: the sheet waits for the handler.
  bool boxClosed = false;
  bool sheetStayedUnderTheBox = false;
  editor.page.onClick = [&] {
    dialogs.MessageBox("Box of the page", "Page box", kMbOk);
    boxClosed = true;
  };
  RunSteps({[] { SendDlgItemMessageW(CurrentPage(L"Editor sheet"), IDC_PAGE_CHECK, BM_CLICK, 0, 0); },
            [&] {
              editor.RequestClose(kIdCancel);
              RefreshViews();
            },
            [] {},
            [&] {
              sheetStayedUnderTheBox = FindTopLevel(L"Editor sheet") && editor.page.cancels == 1;
              PostMessageW(FindTopLevel(L"Page box"), WM_COMMAND, IDOK, 0);
            }});
  CHECK(dialogs.RunModal(editor) == kIdCancel);
  CHECK(sheetStayedUnderTheBox);
  CHECK(boxClosed);
  CHECK(editor.page.cancels == 2);
}

TEST_CASE("model changes made by timer ticks reach the controls without an event") {
  TestDialogModel m;
  ModelDialog view(Module(), m);
  CHECK(view.CreateModeless(nullptr));
  Win32Timers timers;
  RefreshingTimers refreshing(timers);
  int ticks = 0;
  TimerId id = refreshing.Start(20, [&](TimerId) {
    ++ticks;
    m.Control(IDC_LABEL).text = "Tick " + std::to_string(ticks);
  });
  CHECK(id != 0);
  CHECK(PumpUntil([&] { return ticks >= 2; }));
  refreshing.Kill(id);
  CHECK(Text(GetDlgItem(view.Hwnd(), IDC_LABEL)) == L"Tick " + std::to_wstring(ticks));
}

TEST_CASE("tray: no crash without a notification area, menus return") {
  Win32Tray tray(Module());
  int notified = 0;
  tray.onNotify = [&](UINT m) { notified += m == WM_RBUTTONDOWN; };
  std::string tip(300, 'x');  // longer than any shell takes
  bool added = tray.Add(IDI_TEST_DISC, tip);
  CHECK(tray.Shown() == added);
  tray.Modify(IDI_TEST_GOOD, "ARVENTA Wireless LAN Card\nStatus : Good (Home)");
  CHECK(tray.HandleMessage(RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
  CHECK(!tray.HandleMessage(WM_USER + 1, 0, 0));
  CHECK(tray.Owner() == nullptr);
  // The tray's own window reports the icon's mouse messages.
  RunSteps({[] { EndMenu(); }});
  CHECK(tray.TrackMenu(IDM_TEST_TRAY) == 0);  // the menu closed without a choice
  CHECK(tray.TrackMenu(9999) == 0);          // no such menu
  tray.Remove();
  CHECK(!tray.Shown());
  CHECK(!tray.Modify(IDI_TEST_GOOD, "after removal"));
  (void)notified;
}

TEST_CASE("hidden main dialog: never shown, timers, tray messages and commands") {
  HiddenMainDialog hidden(Module());
  Win32Tray tray(Module());
  hidden.AttachTray(tray);
  int ticks = 0;
  UINT trayMessage = 0;
  bool everVisible = false;
  hidden.onInit = [&](HWND h) {
    CHECK(tray.Owner() == h);
    tray.Add(IDI_TEST_DISC, "ARVENTA Wireless LAN Card\nDisconnected");
    hidden.StartTimer(1, 20);
  };
  hidden.onTimer = [&](UINT_PTR id) {
    if (id != 1) return;
    everVisible |= IsWindowVisible(hidden.Hwnd()) != FALSE;
    if (++ticks == 3) {
      PostMessageW(hidden.Hwnd(), kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN);
      PostMessageW(hidden.Hwnd(), WM_COMMAND, IDM_TEST_EXIT, 0);
    }
  };
  hidden.onTray = [&](UINT m) { trayMessage = m; };
  hidden.onCommand = [&](int id) {
    if (id == IDM_TEST_EXIT) {
      hidden.StopTimer(1);
      hidden.End(5);
    }
  };
  bool destroyed = false;
  hidden.onDestroy = [&] { destroyed = true; };
  CHECK(hidden.Run() == 5);
  CHECK(ticks == 3);
  CHECK(!everVisible);
  CHECK(trayMessage == WM_RBUTTONDOWN);
  CHECK(destroyed);
  CHECK(!tray.Shown());
}

namespace {

// Opens the test dialog and a sheet laid out as the main sheet is, for a screenshot.
int Show() {
  TestDialogModel m;
  ModelDialog view(Module(), m);
  view.UseBitmapButton(IDC_SETUP);
  view.CreateModeless(nullptr);
  SetWindowPos(view.Hwnd(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  TestPageModel first(IDD_TEST_PAGE1, "Profile"), second(IDD_TEST_PAGE2, "Link Status");
  ModelPropertySheet sheet(Module());
  sheet.AddPage(first);
  sheet.AddPage(second);
  sheet.SetCaption("Arventa Client Utility");
  sheet.SetSmallIcon(IDI_TEST_DISC);
  sheet.HideHelpMoveOk();
  sheet.ReplaceApplyWithIconButton(5001, IDI_TEST_ON, [] {});
  sheet.AddBitmapButton(5000, IDB_TEST_SETUP, [] {});
  sheet.CreateModeless(nullptr);
  SetWindowPos(sheet.Hwnd(), nullptr, 10, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  HWND firstPage = reinterpret_cast<HWND>(SendMessageW(sheet.Hwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
  SendDlgItemMessageW(firstPage, IDC_PAGE_REPORT, LVM_SETEXTENDEDLISTVIEWSTYLE, 0x421, 0x421);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 8000 && sheet.Hwnd()) {
    Pump();
    Sleep(10);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "show") == 0) return Show();
  return vx::check::RunAll();
}
