#include "win32/ui/control_binder.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "win32/ports/wide.h"
#include "win32/ui/bitmap_button.h"

namespace vx {
namespace {

enum class Kind {
  Unknown,
  Static,
  Edit,
  PushButton,
  CheckBox,
  RadioButton,
  GroupBox,
  ComboBox,
  ListBox,
  ListView,
  TrackBar,
  IpAddress,
  Progress,
  BitmapButton
};

Kind KindOf(HWND hwnd) {
  wchar_t name[64];
  if (!GetClassNameW(hwnd, name, 64)) return Kind::Unknown;
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (!lstrcmpiW(name, L"Static")) return Kind::Static;
  if (!lstrcmpiW(name, L"Edit")) return Kind::Edit;
  if (!lstrcmpiW(name, L"ComboBox")) return Kind::ComboBox;
  if (!lstrcmpiW(name, L"ListBox")) return Kind::ListBox;
  if (!lstrcmpiW(name, WC_LISTVIEWW)) return Kind::ListView;
  if (!lstrcmpiW(name, TRACKBAR_CLASSW)) return Kind::TrackBar;
  if (!lstrcmpiW(name, WC_IPADDRESSW)) return Kind::IpAddress;
  if (!lstrcmpiW(name, PROGRESS_CLASSW)) return Kind::Progress;
  if (!lstrcmpiW(name, kBitmapButtonClass)) return Kind::BitmapButton;
  if (!lstrcmpiW(name, L"Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return Kind::CheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Kind::RadioButton;
      case BS_GROUPBOX:
        return Kind::GroupBox;
      default:
        return Kind::PushButton;
    }
  }
  return Kind::Unknown;
}

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, w.data(), n + 1);
  w.resize(static_cast<size_t>(n > 0 ? n : 0));
  return Narrow(w);
}

void SetText(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Widen(text).c_str()); }

// "a.b.c.d" with each part 0..255; anything else is no address.
std::optional<DWORD> ParseDotted(const std::string& text) {
  unsigned a, b, c, d;
  char tail;
  if (std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%c", &a, &b, &c, &d, &tail) != 4) return std::nullopt;
  if (a > 255 || b > 255 || c > 255 || d > 255) return std::nullopt;
  return MAKEIPADDRESS(a, b, c, d);
}

std::string IpText(HWND hwnd) {
  if (SendMessageW(hwnd, IPM_ISBLANK, 0, 0)) return {};
  DWORD addr = 0;
  SendMessageW(hwnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&addr));
  char buf[20];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", static_cast<unsigned>(FIRST_IPADDRESS(addr)),
                static_cast<unsigned>(SECOND_IPADDRESS(addr)), static_cast<unsigned>(THIRD_IPADDRESS(addr)),
                static_cast<unsigned>(FOURTH_IPADDRESS(addr)));
  return buf;
}

bool SameColumns(const std::vector<ListColumn>& a, const std::vector<ListColumn>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].title != b[i].title || a[i].width != b[i].width) return false;
  return true;
}

int ListImage(int image) { return image < 0 ? I_IMAGENONE : image; }

void SetCell(HWND list, int row, int col, const std::string& text) {
  std::wstring w = Widen(text);
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = w.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void InsertRow(HWND list, int row, const ListRow& r) {
  std::wstring first = r.cells.empty() ? std::wstring() : Widen(r.cells[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = first.data();
  item.iImage = ListImage(r.image);
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (size_t c = 1; c < r.cells.size(); ++c) SetCell(list, row, static_cast<int>(c), r.cells[c]);
}

void SetRowImage(HWND list, int row, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = ListImage(image);
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SelectRow(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (row < 0 || row >= count) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int SelectedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// A text's width in a control's own font.
int TextWidth(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

void FillStrings(HWND hwnd, bool combo, const std::vector<std::string>& items) {
  SendMessageW(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  int widest = 0;
  for (const auto& s : items) {
    std::wstring w = Widen(s);
    SendMessageW(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
    if (combo) widest = std::max(widest, TextWidth(hwnd, w));
  }
  // The dropped list is at least as wide as its widest item (a network's name of 32 letters),
  // with room for its scroll bar and margins; it never gets narrower than the box.
  if (combo) SendMessageW(hwnd, CB_SETDROPPEDWIDTH, widest + GetSystemMetrics(SM_CXVSCROLL) + 8, 0);
}

bool EditableCombo(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST; }

}  // namespace

void ControlBinder::Attach(HWND dialog) {
  dialog_ = dialog;
  applied_.clear();
  measuredLists_.clear();
  appliedGrowth_ = 0;
  AddEllipsisTips();
}

ControlState* ControlBinder::ModelState(int id) {
  auto& controls = model_.MutableControls();
  auto it = controls.find(id);
  return it == controls.end() ? nullptr : &it->second;
}

void ControlBinder::Apply() {
  if (!dialog_ || applying_) return;
  applying_ = true;
  TellListWidths();
  ApplyGrowth();
  for (const auto& [id, state] : model_.Controls()) {
    HWND hwnd = GetDlgItem(dialog_, id);
    if (!hwnd) continue;
    auto it = applied_.find(id);
    const ControlState* prev = it == applied_.end() ? nullptr : &it->second;
    ApplyControl(id, hwnd, state, prev);
    applied_[id] = state;
  }
  applying_ = false;
}

void ControlBinder::ApplyControl(int /*id*/, HWND hwnd, const ControlState& s, const ControlState* prev) {
  Kind kind = KindOf(hwnd);
  auto changed = [&](auto member) { return !prev || prev->*member != s.*member; };
  auto changedFromTemplate = [&](auto member, const auto& templateValue) {
    return prev ? prev->*member != s.*member : s.*member != templateValue;
  };

  switch (kind) {
    case Kind::Static:
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::GroupBox:
    case Kind::BitmapButton:
      if (changedFromTemplate(&ControlState::text, std::string())) SetText(hwnd, s.text);
      break;
    case Kind::Edit:
      if (changedFromTemplate(&ControlState::text, std::string())) {
        // A model that rewrites what the user types (say, to upper case) keeps the caret in place.
        DWORD start = 0, end = 0;
        bool focused = GetFocus() == hwnd;
        if (focused) SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        SetText(hwnd, s.text);
        if (focused) SendMessageW(hwnd, EM_SETSEL, start, end);
      }
      break;
    case Kind::ComboBox:
      if (changedFromTemplate(&ControlState::items, std::vector<std::string>())) {
        FillStrings(hwnd, true, s.items);
        SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(s.selection), 0);
      } else if (changed(&ControlState::selection)) {
        SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(s.selection), 0);
      }
      if (EditableCombo(hwnd) && changedFromTemplate(&ControlState::text, std::string())) SetText(hwnd, s.text);
      break;
    case Kind::ListBox:
      if (changedFromTemplate(&ControlState::items, std::vector<std::string>())) {
        FillStrings(hwnd, false, s.items);
        SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(s.selection), 0);
      } else if (changed(&ControlState::selection)) {
        SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(s.selection), 0);
      }
      break;
    case Kind::ListView:
      ApplyList(hwnd, s, prev);
      break;
    case Kind::TrackBar:
      if (changed(&ControlState::rangeMin) || changed(&ControlState::rangeMax)) {
        SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, s.rangeMin);
        SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, s.rangeMax);
        SendMessageW(hwnd, TBM_SETPOS, TRUE, s.position);
      } else if (changed(&ControlState::position)) {
        SendMessageW(hwnd, TBM_SETPOS, TRUE, s.position);
      }
      break;
    case Kind::Progress:
      if (changed(&ControlState::rangeMin) || changed(&ControlState::rangeMax))
        SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(s.rangeMin), s.rangeMax);
      if (changed(&ControlState::position) || changed(&ControlState::rangeMin) || changed(&ControlState::rangeMax))
        SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(s.position), 0);
      break;
    case Kind::IpAddress:
      if (changedFromTemplate(&ControlState::text, std::string())) {
        if (auto addr = ParseDotted(s.text))
          SendMessageW(hwnd, IPM_SETADDRESS, 0, static_cast<LPARAM>(*addr));
        else
          SendMessageW(hwnd, IPM_CLEARADDRESS, 0, 0);
      }
      break;
    case Kind::Unknown:
      break;
  }

  if ((kind == Kind::CheckBox || kind == Kind::RadioButton) && changed(&ControlState::checked))
    SendMessageW(hwnd, BM_SETCHECK, s.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (kind == Kind::Edit && changedFromTemplate(&ControlState::readOnly, false))
    SendMessageW(hwnd, EM_SETREADONLY, s.readOnly, 0);
  if (kind == Kind::Edit && changedFromTemplate(&ControlState::maxLength, 0))
    SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(s.maxLength > 0 ? s.maxLength : 0), 0);
  if (kind == Kind::Static && prev && changed(&ControlState::textColour)) InvalidateRect(hwnd, nullptr, TRUE);
  if (changedFromTemplate(&ControlState::image, 0)) ApplyImage(hwnd, static_cast<uint32_t>(s.image));
  if (changed(&ControlState::enabled)) EnableWindow(hwnd, s.enabled);
  if (changed(&ControlState::visible)) ShowWindow(hwnd, s.visible ? SW_SHOWNA : SW_HIDE);
}

void ControlBinder::ApplyList(HWND list, const ControlState& s, const ControlState* prev) {
  static const std::vector<ListColumn> kNoColumns;
  static const std::vector<ListRow> kNoRows;
  // Extended styles and the image list before the rows, whose images name it.
  const uint32_t oldStyle = prev ? prev->listStyle : 0;
  if (s.listStyle != oldStyle)
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, oldStyle | s.listStyle, s.listStyle);
  if (prev ? prev->listImages != s.listImages : !s.listImages.empty()) ApplyImageList(list, s.listImages);
  const auto& oldColumns = prev ? prev->columns : kNoColumns;
  const auto& oldRows = prev ? prev->rows : kNoRows;
  bool columnsChanged = !SameColumns(oldColumns, s.columns);
  if (columnsChanged) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int existing = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    bool sameTitles = existing == static_cast<int>(s.columns.size()) && oldColumns.size() == s.columns.size();
    for (size_t i = 0; sameTitles && i < s.columns.size(); ++i) sameTitles = oldColumns[i].title == s.columns[i].title;
    if (!sameTitles) {
      while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
      }
      for (size_t i = 0; i < s.columns.size(); ++i) {
        std::wstring title = Widen(s.columns[i].title);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        col.fmt = LVCFMT_LEFT;
        col.cx = s.columns[i].width > 0 ? s.columns[i].width : 60;
        col.pszText = title.data();
        col.iSubItem = static_cast<int>(i);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
      }
    }
  }

  // Rows: rewrite only the cells that differ, so the selection and the scroll position stay.
  bool rowsChanged = oldRows != s.rows;
  if (rowsChanged) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int have = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    int want = static_cast<int>(s.rows.size());
    // The list's own rows are trusted only as far as the last copy describes them.
    int known = std::min(have, static_cast<int>(oldRows.size()));
    while (have > want) SendMessageW(list, LVM_DELETEITEM, --have, 0);
    known = std::min(known, have);
    for (int i = 0; i < std::min(have, want); ++i) {
      const ListRow& r = s.rows[static_cast<size_t>(i)];
      const ListRow* o = i < known ? &oldRows[static_cast<size_t>(i)] : nullptr;
      if (o && *o == r) continue;
      size_t cells = std::max(r.cells.size(), o ? o->cells.size() : s.columns.size());
      for (size_t c = 0; c < cells; ++c) {
        const std::string& text = c < r.cells.size() ? r.cells[c] : std::string();
        if (o && c < o->cells.size() && o->cells[c] == text) continue;
        if (o && c >= o->cells.size() && text.empty()) continue;
        SetCell(list, i, static_cast<int>(c), text);
      }
      if (!o || o->image != r.image) SetRowImage(list, i, r.image);
    }
    for (int i = have; i < want; ++i) InsertRow(list, i, s.rows[static_cast<size_t>(i)]);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }

  // Fixed widths only when the columns change, so a column the user widened stays so; columns
  // without a width follow their contents.
  for (size_t i = 0; i < s.columns.size(); ++i) {
    if (s.columns[i].width > 0 && columnsChanged)
      SendMessageW(list, LVM_SETCOLUMNWIDTH, i, s.columns[i].width);
    else if (s.columns[i].width <= 0 && (columnsChanged || rowsChanged))
      SendMessageW(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
  }
  bool selectionStale = SelectedRow(list) != s.selection;
  if (selectionStale && (prev || s.selection >= 0)) SelectRow(list, s.selection);
}

// A copy of the bitmap with its magenta pixels painted in the colour the static is drawn on, as
// a picture static cannot draw transparently.
HANDLE ControlBinder::BitmapOnBackground(HWND hwnd, uint32_t imageId) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(
      module_, MAKEINTRESOURCEW(BitmapForScreen(module_, imageId)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return nullptr;
  COLORREF back = GetSysColor(COLOR_3DFACE);
  HDC dc = GetDC(hwnd);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  LOGBRUSH lb = {};
  if (brush && GetObjectW(brush, sizeof lb, &lb) && lb.lbStyle == BS_SOLID) back = lb.lbColor;
  ReleaseDC(hwnd, dc);
  DIBSECTION dib = {};
  if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBitsPixel == 24 && dib.dsBm.bmBits) {
    auto* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
    for (LONG y = 0; y < dib.dsBm.bmHeight; ++y) {
      uint8_t* row = bits + y * dib.dsBm.bmWidthBytes;
      for (LONG x = 0; x < dib.dsBm.bmWidth; ++x) {
        uint8_t* px = row + x * 3;  // blue, green, red
        if (px[0] == 255 && px[1] == 0 && px[2] == 255) {
          px[0] = GetBValue(back);
          px[1] = GetGValue(back);
          px[2] = GetRValue(back);
        }
      }
    }
  }
  return bitmap;
}

void ControlBinder::ApplyImage(HWND hwnd, uint32_t imageId) {
  if (IsBitmapButton(hwnd)) {
    SetBitmapButtonImage(hwnd, module_, imageId);
    return;
  }
  LPCWSTR name = MAKEINTRESOURCEW(imageId);
  bool isBitmap = imageId != 0 && FindResourceW(module_, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HANDLE image = nullptr;
  wchar_t name2[16];
  GetClassNameW(hwnd, name2, 16);
  bool isStatic = !lstrcmpiW(name2, L"Static");
  if (imageId != 0 && isBitmap && isStatic)
    image = BitmapOnBackground(hwnd, imageId);
  else if (imageId != 0)
    image =
        LoadImageW(module_, isBitmap ? MAKEINTRESOURCEW(BitmapForScreen(module_, imageId)) : name,
                   isBitmap ? IMAGE_BITMAP : IMAGE_ICON, 0, 0, LR_SHARED | (isBitmap ? 0 : LR_DEFAULTSIZE));
  UINT type = isBitmap ? IMAGE_BITMAP : IMAGE_ICON;
  if (isStatic) {
    HANDLE old = reinterpret_cast<HANDLE>(SendMessageW(hwnd, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
    // Bitmaps made for a static are the binder's own; shared icons are not freed.
    if (old && old != image && type == IMAGE_BITMAP && ownedBitmaps_.erase(old)) DeleteObject(old);
    if (image && type == IMAGE_BITMAP && isBitmap) ownedBitmaps_.insert(image);
  } else
    SendMessageW(hwnd, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(image));
}

void ControlBinder::ApplyImageList(HWND list, const std::vector<uint32_t>& icons) {
  HIMAGELIST images = nullptr;
  if (!icons.empty()) {
    const int cx = IconSizeForScreen(false), cy = cx;
    images = ImageList_Create(cx, cy, ILC_COLOR8 | ILC_MASK, static_cast<int>(icons.size()), 0);
    for (uint32_t icon : icons) {
      HICON h = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(icon), IMAGE_ICON, cx, cy, 0));
      ImageList_AddIcon(images, h);  // a missing icon leaves a gap that no row should name
      if (h) DestroyIcon(h);
    }
  }
  // The list view owns and frees the image list (no LVS_SHAREIMAGELISTS).
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
  if (old && old != images) ImageList_Destroy(old);
}

// Before a list's columns are first shown, the model hears how wide the list really is, so
// column widths given as shares of it fit the window in every language and font.
void ControlBinder::TellListWidths() {
  std::vector<std::pair<int, int>> widths;
  for (const auto& [id, state] : model_.Controls()) {
    if (state.columns.empty() || measuredLists_.count(id)) continue;
    HWND list = GetDlgItem(dialog_, id);
    if (!list || KindOf(list) != Kind::ListView) continue;
    measuredLists_.insert(id);
    RECT rc{};
    GetClientRect(list, &rc);
    widths.emplace_back(id, static_cast<int>(rc.right - rc.left));
  }
  // Told after the walk: the model may change its controls.
  for (const auto& [id, pixels] : widths) model_.OnListWidth(id, pixels);
}

// The dialog grows (or shrinks back) by the difference to what it was given; controls anchored
// to the bottom move with it, stretched ones take the height.
void ControlBinder::ApplyGrowth() {
  const int delta = model_.growHeight - appliedGrowth_;
  if (delta == 0) return;
  appliedGrowth_ = model_.growHeight;
  RECT rc{};
  GetWindowRect(dialog_, &rc);
  const bool child = (GetWindowLongW(dialog_, GWL_STYLE) & WS_CHILD) != 0;
  // A top-level dialog stays centred where it was; a page keeps its place in its sheet.
  SetWindowPos(dialog_, nullptr, rc.left, rc.top - delta / 2, rc.right - rc.left, rc.bottom - rc.top + delta,
               SWP_NOZORDER | SWP_NOACTIVATE | (child ? SWP_NOMOVE : 0));
  for (const auto& [id, state] : model_.Controls()) {
    if (state.anchor == Anchor::Top) continue;
    HWND hwnd = GetDlgItem(dialog_, id);
    if (!hwnd) continue;
    RECT c{};
    GetWindowRect(hwnd, &c);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&c), 2);
    if (state.anchor == Anchor::Bottom)
      OffsetRect(&c, 0, delta);
    else
      c.bottom += delta;
    SetWindowPos(hwnd, nullptr, c.left, c.top, c.right - c.left, c.bottom - c.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(dialog_, nullptr, TRUE);
}

HBRUSH ControlBinder::OnCtlColorStatic(HDC dc, HWND control) {
  const ControlState* state = ModelState(GetDlgCtrlID(control));
  if (!state || !state->textColour) return nullptr;
  SetTextColor(dc, static_cast<COLORREF>(*state->textColour));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void ControlBinder::SyncRadios() {
  // An automatic radio button clears its group's other buttons; the model hears of all of them.
  for (auto& [id, state] : model_.MutableControls()) {
    HWND hwnd = GetDlgItem(dialog_, id);
    if (!hwnd || KindOf(hwnd) != Kind::RadioButton) continue;
    bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.checked = checked;
    AppliedState(id).checked = checked;
  }
}

std::optional<ControlEvent> ControlBinder::OnCommand(WPARAM wp, LPARAM lp) {
  if (applying_ || !dialog_) return std::nullopt;
  HWND hwnd = reinterpret_cast<HWND>(lp);
  if (!hwnd) return std::nullopt;  // menus and accelerators are not control events
  int id = LOWORD(wp);
  UINT code = HIWORD(wp);
  Kind kind = KindOf(hwnd);
  ControlState* state = ModelState(id);
  switch (kind) {
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::BitmapButton:
      if (code != BN_CLICKED) return std::nullopt;
      if (kind == Kind::RadioButton) {
        SyncRadios();
      } else if (kind == Kind::CheckBox && state) {
        state->checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        AppliedState(id).checked = state->checked;
      }
      return ControlEvent{id, UiEvent::Clicked};
    case Kind::Edit:
    case Kind::IpAddress:
      if (code != EN_CHANGE && code != EN_KILLFOCUS) return std::nullopt;
      if (state) {
        state->text = kind == Kind::Edit ? WindowText(hwnd) : IpText(hwnd);
        AppliedState(id).text = state->text;
      }
      return ControlEvent{id, code == EN_CHANGE ? UiEvent::TextChanged : UiEvent::KillFocus};
    case Kind::ComboBox:
      if (code == CBN_SELCHANGE) {
        if (state) {
          state->selection = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
          AppliedState(id).selection = state->selection;
          if (EditableCombo(hwnd) && state->selection >= 0 &&
              static_cast<size_t>(state->selection) < state->items.size()) {
            state->text = state->items[static_cast<size_t>(state->selection)];
            AppliedState(id).text = state->text;
          }
        }
        return ControlEvent{id, UiEvent::SelectionChanged};
      }
      if (code == CBN_EDITCHANGE) {
        if (state) {
          state->text = WindowText(hwnd);
          AppliedState(id).text = state->text;
        }
        return ControlEvent{id, UiEvent::TextChanged};
      }
      if (code == CBN_KILLFOCUS) return ControlEvent{id, UiEvent::KillFocus};
      return std::nullopt;
    case Kind::ListBox:
      if (code != LBN_SELCHANGE && code != LBN_DBLCLK) return std::nullopt;
      if (state) {
        state->selection = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
        AppliedState(id).selection = state->selection;
      }
      return ControlEvent{id, code == LBN_SELCHANGE ? UiEvent::SelectionChanged : UiEvent::DoubleClicked};
    default:
      return std::nullopt;
  }
}

std::optional<ControlEvent> ControlBinder::OnNotify(const NMHDR& hdr) {
  if (AnswerTip(hdr)) return std::nullopt;
  if (applying_ || !dialog_ || !hdr.hwndFrom || KindOf(hdr.hwndFrom) != Kind::ListView) return std::nullopt;
  int id = static_cast<int>(hdr.idFrom);
  ControlState* state = ModelState(id);
  if (hdr.code == LVN_ITEMCHANGED) {
    const auto& nm = reinterpret_cast<const NMLISTVIEW&>(hdr);
    if (!(nm.uChanged & LVIF_STATE) || !((nm.uNewState ^ nm.uOldState) & LVIS_SELECTED)) return std::nullopt;
    int selected = SelectedRow(hdr.hwndFrom);
    // Moving the selection deselects one row before it selects the other. A row that loses the
    // selection with none selected yet is looked at again once the list has finished, so the
    // model hears one event, for the final state.
    if (selected < 0 && !(nm.uNewState & LVIS_SELECTED)) {
      PostMessageW(dialog_, kDeferredSelectionMessage, static_cast<WPARAM>(id), 0);
      return std::nullopt;
    }
    if (state && state->selection == selected) return std::nullopt;
    if (state) {
      state->selection = selected;
      AppliedState(id).selection = selected;
    }
    return ControlEvent{id, UiEvent::SelectionChanged};
  }
  if (hdr.code == NM_DBLCLK) {
    const auto& nm = reinterpret_cast<const NMITEMACTIVATE&>(hdr);
    int row = nm.iItem >= 0 ? nm.iItem : SelectedRow(hdr.hwndFrom);
    if (state) {
      state->selection = row;
      AppliedState(id).selection = row;
    }
    return ControlEvent{id, UiEvent::DoubleClicked};
  }
  return std::nullopt;
}

std::optional<ControlEvent> ControlBinder::OnDeferredSelection(WPARAM controlId) {
  if (applying_ || !dialog_) return std::nullopt;
  int id = static_cast<int>(controlId);
  HWND list = GetDlgItem(dialog_, id);
  if (!list || KindOf(list) != Kind::ListView) return std::nullopt;
  int selected = SelectedRow(list);
  ControlState* state = ModelState(id);
  if (state) {
    if (state->selection == selected) return std::nullopt;
    state->selection = selected;
    AppliedState(id).selection = selected;
  }
  return ControlEvent{id, UiEvent::SelectionChanged};
}

std::optional<ControlEvent> ControlBinder::OnScroll(HWND control) {
  if (applying_ || !dialog_ || !control || KindOf(control) != Kind::TrackBar) return std::nullopt;
  int id = GetDlgCtrlID(control);
  int pos = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
  ControlState* state = ModelState(id);
  if (state) {
    // A drag reports many positions and then its end; the model hears each new position once.
    if (state->position == pos) return std::nullopt;
    state->position = pos;
    AppliedState(id).position = pos;
  }
  return ControlEvent{id, UiEvent::SelectionChanged};
}

// A label that may be cut short (ellipsis style) gets a tip with its whole text; the tip shows
// only while the text is cut. Labels take no mouse input unless they notify, so they do here.
void ControlBinder::AddEllipsisTips() {
  tips_ = nullptr;
  for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (KindOf(child) != Kind::Static || !(GetWindowLongW(child, GWL_STYLE) & SS_ELLIPSISMASK)) continue;
    if (!tips_) {
      tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, module_, nullptr);
      if (!tips_) return;
      SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    SetWindowLongW(child, GWL_STYLE, GetWindowLongW(child, GWL_STYLE) | SS_NOTIFY);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool ControlBinder::AnswerTip(const NMHDR& hdr) {
  if (!tips_ || hdr.hwndFrom != tips_ || hdr.code != TTN_GETDISPINFOW) return false;
  // The notification is the tip's own, in writable memory of this thread.
  auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(hdr));
  HWND label = reinterpret_cast<HWND>(hdr.idFrom);
  tipText_.clear();
  if (IsWindow(label) && TextCut(label)) tipText_ = Widen(WindowText(label));
  info.szText[0] = L'\0';
  info.lpszText = tipText_.empty() ? info.szText : tipText_.data();
  return true;
}

bool ControlBinder::TextCut(HWND label) {
  RECT client = {};
  GetClientRect(label, &client);
  return TextWidth(label, Widen(WindowText(label))) > client.right - client.left;
}

}  // namespace vx
