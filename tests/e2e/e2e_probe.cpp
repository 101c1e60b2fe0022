// Loaded into a program under test by e2e_driver's "inspect": a message hook that, on the
// program's own UI thread, lists the visible texts of one top-level window and measures each
// label against its control in the control's own font. Fonts and device contexts belong to the
// program, so this runs inside it rather than in the driver.
//
// The driver names a file mapping "vx-e2e-probe-PID" and an event "vx-e2e-probe-done-PID" (PID is
// the driver's), sets this hook on the window's thread and posts it the registered message
// "vx-e2e-probe" with wParam = PID and lParam = the window. The report goes into the mapping
// after a 4-byte length, one line per finding, fields separated by tabs:
//   window  LEFT TOP RIGHT BOTTOM           the window's place on the screen
//   os      MAJOR.MINOR                     the Windows version the program is told it runs on
//   text    DIALOG  ID  KIND  TEXT          a visible text (KIND: title, static, button, check,
//                                           radio, group, tab, header, row, combo, list, menu,
//                                           and field for a read-only edit)
//   clipped DIALOG  ID  KIND  TEXT  NEED/HAVE   a text that does not fit, in pixels
//   tipped  DIALOG  ID  KIND  TEXT  NEED/HAVE   cut, but drawn with an ellipsis and explained by
//                                               an info tip
//   overlap DIALOG  ID  ID2                 two controls of one dialog on top of each other
// For the notification area's window ("Shell_TrayWnd") the texts are the icons' tips:
//   text    tray  0  tip  TEXT
// DIALOG is the title of the dialog (or property page) that holds the control.
// <commctrl.h> needs <windows.h> first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

constexpr size_t kMappingSize = 4 << 20;

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// Line feeds and tabs inside a text would break the report's lines and fields.
std::string Field(const std::wstring& w) {
  std::wstring flat;
  for (wchar_t c : w) {
    if (c == L'\n')
      flat += L"\\n";
    else if (c == L'\t')
      flat += L"\\t";
    else if (c != L'\r')
      flat += c;
  }
  return Utf8(flat);
}

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

std::wstring TextOf(HWND h) {
  int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<size_t>(n > 0 ? n : 0));
  return w;
}

bool Is(HWND h, const wchar_t* cls) { return !lstrcmpiW(ClassOf(h).c_str(), cls); }

// A text as drawn with a mnemonic prefix: "&&" shows "&", a single "&" underlines the next letter.
std::wstring WithoutPrefix(const std::wstring& w) {
  std::wstring out;
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] == L'&' && i + 1 < w.size()) ++i;
    out += w[i];
  }
  return out;
}

// The words a text shows, without its access key: a Chinese text's "(&X)" goes whole.
std::wstring Words(const std::wstring& w) {
  std::wstring out = w;
  for (size_t at; (at = out.find(L"(&")) != std::wstring::npos && at + 3 < out.size() && out[at + 3] == L')';)
    out.erase(at, 4);
  return WithoutPrefix(out);
}

wchar_t AccessKey(const std::wstring& w) {
  for (size_t i = 0; i + 1 < w.size(); ++i)
    if (w[i] == L'&' && w[++i] != L'&') return static_cast<wchar_t>(towupper(w[i]));
  return 0;
}

struct Extent {
  int cx = 0;
  int cy = 0;
};

// Measures texts in one control's font.
class Measure {
 public:
  explicit Measure(HWND control) : hwnd_(control), dc_(GetDC(control)) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    old_ = SelectObject(dc_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(dc_, &metrics_);
  }
  ~Measure() {
    SelectObject(dc_, old_);
    ReleaseDC(hwnd_, dc_);
  }
  Measure(const Measure&) = delete;
  Measure& operator=(const Measure&) = delete;

  // One line or several separated by line feeds, none wrapped.
  Extent Lines(const std::wstring& text) const {
    Extent e;
    size_t start = 0;
    for (;;) {
      size_t end = text.find(L'\n', start);
      std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
      if (!line.empty() && line.back() == L'\r') line.pop_back();
      SIZE size = {};
      GetTextExtentPoint32W(dc_, line.c_str(), static_cast<int>(line.size()), &size);
      e.cx = std::max(e.cx, static_cast<int>(size.cx));
      e.cy += metrics_.tmHeight;
      if (end == std::wstring::npos) break;
      start = end + 1;
    }
    return e;
  }
  // Word-wrapped at `width`, as a multi-line static draws it.
  Extent Wrapped(const std::wstring& text, int width, UINT flags) const {
    RECT r = {0, 0, width, 0};
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r,
              flags | DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    return {r.right - r.left, r.bottom - r.top};
  }
  int LineHeight() const { return metrics_.tmHeight; }
  int Dpi() const { return GetDeviceCaps(dc_, LOGPIXELSX); }
  int CharWidth(wchar_t c) const {
    INT w = 0;
    GetCharWidth32W(dc_, c, c, &w);
    return w;
  }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ old_;
  TEXTMETRICW metrics_ = {};
};

class Report {
 public:
  void Text(const std::wstring& dialog, int id, const char* kind, const std::wstring& text) {
    if (text.empty()) return;
    Line("text", dialog, id, kind, text, nullptr);
  }
  void Fit(const std::wstring& dialog, int id, const char* kind, const std::wstring& text, Extent need,
           Extent have, bool tipped) {
    if (need.cx <= have.cx && need.cy <= have.cy) return;
    char sizes[64];
    std::snprintf(sizes, sizeof sizes, "%dx%d/%dx%d", need.cx, need.cy, have.cx, have.cy);
    Line(tipped ? "tipped" : "clipped", dialog, id, kind, text, sizes);
  }
  void Window(const RECT& r) {
    out_ += "window\t" + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
            std::to_string(r.right) + " " + std::to_string(r.bottom) + "\n";
  }
  void Os() {
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    if (GetVersionExW(&v))
      out_ += "os\t" + std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) + "\n";
  }
  void Overlap(const std::wstring& dialog, int id, int id2) {
    out_ += "overlap\t" + Field(dialog) + "\t" + std::to_string(id) + "\t" + std::to_string(id2) + "\n";
  }
  const std::string& str() const { return out_; }
  void Line(const char* what, const std::wstring& dialog, int id, const char* kind, const std::wstring& text,
            const char* extra) {
    out_ += std::string(what) + "\t" + Field(dialog) + "\t" + std::to_string(id) + "\t" + kind + "\t" +
            Field(text);
    if (extra) out_ += std::string("\t") + extra;
    out_ += "\n";
  }

 private:
  std::string out_;
};

struct Probe {
  HWND top = nullptr;
  std::vector<std::pair<HWND, std::wstring>> keyed[2];  // controls' and tabs' texts with a key
  std::vector<HWND> shown;
  std::vector<HWND> tips;  // tooltip windows of this thread
  Report report;
};

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

BOOL CALLBACK CollectTip(HWND h, LPARAM lp) {
  if (Is(h, TOOLTIPS_CLASSW)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

// Shown on the screen: visible itself and every parent up to the window (a property sheet's
// hidden pages keep their controls marked visible).
bool OnScreen(HWND h, HWND top) {
  for (HWND p = h; p && p != top; p = GetParent(p))
    if (!IsWindowVisible(p)) return false;
  return true;
}

// The title of the dialog or property page a control belongs to.
std::wstring DialogOf(HWND h, HWND top) {
  for (HWND p = GetParent(h); p && p != top; p = GetParent(p))
    if (Is(p, L"#32770")) return TextOf(p);
  return TextOf(top);
}

// The text a tool of a tooltip shows now: its own, or the one its window gives when asked, as
// the tooltip would ask.
std::wstring TipText(HWND tip, const TOOLINFOW& tool) {
  if (tool.lpszText != LPSTR_TEXTCALLBACKW) {
    wchar_t buf[1024] = {};
    TOOLINFOW ti = tool;
    ti.lpszText = buf;
    SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
    return buf;
  }
  NMTTDISPINFOW info = {};
  info.hdr.hwndFrom = tip;
  info.hdr.idFrom = tool.uId;
  info.hdr.code = TTN_GETDISPINFOW;
  info.uFlags = tool.uFlags;
  SendMessageW(tool.hwnd, WM_NOTIFY, tool.uId, reinterpret_cast<LPARAM>(&info));
  return info.lpszText && !IS_INTRESOURCE(info.lpszText) ? info.lpszText : info.szText;
}

// An info tip explains a cut label when a tooltip of this thread has a tool for it that shows
// the label's whole text.
bool HasTip(const Probe& probe, HWND control, const std::wstring& text) {
  for (HWND tip : probe.tips) {
    int n = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      TOOLINFOW ti = {};
      ti.cbSize = sizeof ti;
      if (!SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&ti))) continue;
      bool forControl =
          (ti.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(ti.uId) == control : ti.hwnd == control;
      if (forControl && TipText(tip, ti) == text) return true;
    }
  }
  return false;
}

bool ListHasTips(HWND list) {
  DWORD ex = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  return (ex & (LVS_EX_INFOTIP | LVS_EX_LABELTIP)) != 0;
}

SIZE ClientSize(HWND h) {
  RECT r = {};
  GetClientRect(h, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void InspectStatic(Probe& p, HWND h, const std::wstring& dialog, int id) {
  LONG style = GetWindowLongW(h, GWL_STYLE);
  LONG type = style & SS_TYPEMASK;
  if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
      type != SS_LEFTNOWORDWRAP)
    return;  // pictures, frames and owner-drawn statics have no text of their own
  std::wstring raw = TextOf(h);
  std::wstring text = (style & SS_NOPREFIX) ? raw : WithoutPrefix(raw);
  p.report.Text(dialog, id, "static", (style & SS_NOPREFIX) ? raw : Words(raw));
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();  // draws nothing
  if (text.empty()) return;
  Measure m(h);
  SIZE client = ClientSize(h);
  Extent have = {client.cx, client.cy};
  bool ellipsis = (style & SS_ELLIPSISMASK) != 0;
  bool singleLine = type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP || ellipsis || (style & SS_CENTERIMAGE) ||
                    client.cy < 2 * m.LineHeight();
  UINT flags = ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0) | ((style & SS_EDITCONTROL) ? DT_EDITCONTROL : 0);
  Extent need = singleLine ? m.Lines(text) : m.Wrapped(text, client.cx, flags);
  p.report.Fit(dialog, id, "static", text, need, have, ellipsis && HasTip(p, h, raw));
}

void InspectButton(Probe& p, HWND h, const std::wstring& dialog, int id) {
  LONG style = GetWindowLongW(h, GWL_STYLE);
  LONG type = style & BS_TYPEMASK;
  if (type == BS_OWNERDRAW || (style & (BS_BITMAP | BS_ICON))) return;
  std::wstring raw = TextOf(h), text = WithoutPrefix(raw);
  const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE);
  const bool group = type == BS_GROUPBOX;
  const char* kind = push                                                     ? "button"
                     : group                                                  ? "group"
                     : (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) ? "radio"
                                                                              : "check";
  p.report.Text(dialog, id, kind, Words(raw));
  if (text.empty()) return;
  Measure m(h);
  SIZE client = ClientSize(h);
  Extent have = {client.cx, client.cy};
  if (push) {
    // The frame takes 2 pixels a side, the label's margin 1 more; a default button has a border.
    int inset = 3 + (type == BS_DEFPUSHBUTTON ? 1 : 0);
    have = {client.cx - 2 * inset, client.cy - 2 * inset};
  } else if (group) {
    have = {client.cx - 16, client.cy};  // the caption sits 7 pixels in from each side, with a margin
  } else {
    // The check box or radio glyph, then half a digit's width before the label, with its margin.
    int glyph = 12 * m.Dpi() / 96 + 1;
    int offset = m.CharWidth(L'0') / 2;
    have.cx = client.cx - glyph - offset - 2;
  }
  Extent need = (style & BS_MULTILINE) ? m.Wrapped(text, have.cx, 0) : m.Lines(text);
  p.report.Fit(dialog, id, kind, text, need, have, false);
}

void InspectTabs(Probe& p, HWND h, const std::wstring& dialog, int id) {
  Measure m(h);
  SIZE client = ClientSize(h);
  int n = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t buf[256] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 256;
    SendMessageW(h, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    std::wstring text = WithoutPrefix(buf);
    p.report.Text(dialog, id, "tab", Words(buf));
    if (AccessKey(buf)) p.keyed[1].emplace_back(h, buf);  // none needed: Ctrl+Tab turns the pages
    RECT r = {};
    SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    // A tab keeps 6 pixels of padding a side; one past the control's edge needs the scroll arrows.
    Extent need = m.Lines(text);
    need.cx += 12;
    Extent have = {r.right - r.left, r.bottom - r.top};
    if (r.right > client.cx || r.left < 0) have.cx = 0;
    p.report.Fit(dialog, id, "tab", text, need, have, false);
  }
  // Tabs in a second row jump about as pages are chosen: one row, or the control is too narrow.
  if (SendMessageW(h, TCM_GETROWCOUNT, 0, 0) > 1) p.report.Line("clipped", dialog, id, "tabs", L"", "2 rows");
}

void InspectList(Probe& p, HWND list, const std::wstring& dialog, int id) {
  const bool tips = ListHasTips(list);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  const bool report = (GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
  if (header && report && IsWindowVisible(header)) {
    Measure m(header);
    for (int c = 0; c < columns; ++c) {
      wchar_t buf[256] = {};
      HDITEMW item = {};
      item.mask = HDI_TEXT | HDI_WIDTH;
      item.pszText = buf;
      item.cchTextMax = 256;
      SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&item));
      p.report.Text(dialog, id, "header", buf);
      // A header item keeps three edges' width of margin a side.
      Extent need = m.Lines(buf);
      need.cx += 6 * GetSystemMetrics(SM_CXEDGE);
      RECT r = {};
      SendMessageW(header, HDM_GETITEMRECT, c, reinterpret_cast<LPARAM>(&r));
      p.report.Fit(dialog, id, "header", buf, need, {r.right - r.left, r.bottom - r.top}, tips);
    }
  }
  Measure m(list);
  // The first column also holds the row's small icon, when the list has them.
  int icon = 0;
  if (HIMAGELIST small = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0))) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(small, &cx, &cy);
    icon = cx + 2;
  }
  int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < std::max(columns, 1); ++c) {
      wchar_t buf[1024] = {};
      LVITEMW item = {};
      item.iSubItem = c;
      item.pszText = buf;
      item.cchTextMax = 1024;
      SendMessageW(list, LVM_GETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
      std::wstring text = buf;
      p.report.Text(dialog, id, "row", text);
      if (text.empty() || !report) continue;
      // A cell keeps 6 pixels a side around its text, as the list's own fitting of a column does.
      Extent need = m.Lines(text);
      need.cx += 12 + (c == 0 ? icon : 0);
      int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
      p.report.Fit(dialog, id, "row", text, need, {width, need.cy}, tips);
    }
  }
}

// A drop-down list shows the chosen item in the closed box, so every item must fit there; an
// editable box scrolls its text, and only its dropped list must hold the items.
void InspectCombo(Probe& p, HWND h, const std::wstring& dialog, int id) {
  Measure m(h);
  SIZE client = ClientSize(h);
  const bool dropList = (GetWindowLongW(h, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
  int width = dropList ? client.cx : static_cast<int>(SendMessageW(h, CB_GETDROPPEDWIDTH, 0, 0));
  // The drop-down button (or the list's scroll bar) and the borders leave the rest to the text.
  Extent have = {std::max(width, 0) - GetSystemMetrics(SM_CXVSCROLL) - 6, client.cy};
  int n = static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    int len = static_cast<int>(SendMessageW(h, CB_GETLBTEXTLEN, i, 0));
    if (len <= 0 || len > 4096) continue;
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(len));
    p.report.Text(dialog, id, "combo", text);
    Extent need = m.Lines(text);
    need.cy = 0;
    p.report.Fit(dialog, id, "combo", text, need, have, false);
  }
}

void InspectListBox(Probe& p, HWND h, const std::wstring& dialog, int id) {
  int n = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    int len = static_cast<int>(SendMessageW(h, LB_GETTEXTLEN, i, 0));
    if (len <= 0 || len > 4096) continue;
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    SendMessageW(h, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(len));
    p.report.Text(dialog, id, "list", text);
  }
}

// Controls of one dialog placed on top of each other. Group boxes frame others, and a dialog
// (a property page) or a tab control holds its pages by design.
bool Stacks(HWND h) {
  if (Is(h, L"#32770") || Is(h, WC_TABCONTROLW)) return true;
  if (Is(h, L"Button") && (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) return true;
  if (Is(h, L"Static")) {
    LONG type = GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK;
    return type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME ||
           type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME || type == SS_BLACKRECT ||
           type == SS_GRAYRECT || type == SS_WHITERECT;
  }
  return false;
}

bool IsList(HWND h) { return Is(h, L"ListBox") || Is(h, WC_LISTVIEWW); }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

void InspectOverlaps(Probe& p) {
  for (size_t i = 0; i < p.shown.size(); ++i) {
    HWND a = p.shown[i];
    RECT ra = {};
    GetWindowRect(a, &ra);
    // A sheet's own button lies wholly inside the tab control's page area or wholly outside its frame.
    if (Is(a, WC_TABCONTROLW)) {
      RECT area = ra, both = {};
      SendMessageW(a, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
      for (HWND b : p.shown) {
        RECT rb = {};
        GetWindowRect(b, &rb);
        if (GetParent(b) == GetParent(a) && !Stacks(b) && IntersectRect(&both, &ra, &rb) && !Inside(rb, area))
          p.report.Overlap(DialogOf(b, p.top), GetDlgCtrlID(b), GetDlgCtrlID(a));
      }
    }
    if (Stacks(a)) continue;
    for (size_t j = i + 1; j < p.shown.size(); ++j) {
      HWND b = p.shown[j];
      if (GetParent(b) != GetParent(a) || Stacks(b)) continue;
      RECT rb = {}, both = {};
      GetWindowRect(b, &rb);
      if (!IntersectRect(&both, &ra, &rb)) continue;
      // An in-place editor lies on a row of its list, wholly inside it.
      if ((IsList(a) && Inside(rb, ra)) || (IsList(b) && Inside(ra, rb))) continue;
      p.report.Overlap(DialogOf(a, p.top), GetDlgCtrlID(a), GetDlgCtrlID(b));
    }
  }
}

// The nearest sibling before or after a control that is shown.
HWND ShownSibling(HWND h, UINT direction) {
  do h = GetWindow(h, direction);
  while (h && !IsWindowVisible(h));
  return h;
}

LONG TopOf(HWND h) {
  RECT r = {};
  return GetWindowRect(h, &r) ? r.top : 0;
}

LONG ButtonType(HWND h) { return Is(h, L"Button") ? GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK : -1; }
bool IsRadio(HWND h) { return ButtonType(h) == BS_RADIOBUTTON || ButtonType(h) == BS_AUTORADIOBUTTON; }

// A control that takes a value the user types or picks.
bool IsField(HWND h) {
  return (Is(h, L"Edit") && !(GetWindowLongW(h, GWL_STYLE) & ES_READONLY)) || Is(h, L"ComboBox") || IsList(h);
}

// What the keyboard and a screen reader need: every button, check box, radio button and field
// label has an access key (a tab needs none), no two of one window's share a key (a sheet's buttons share it
// with the page shown; its tabs with each other), every control a user changes is a tab stop,
// a radio group starts with WS_GROUP on a radio button, and a field's label comes just before
// it, which is also how a screen reader names the field (the first control of a dialog has its
// title).
//   nokey   DIALOG ID KIND TEXT       samekey WINDOW ID KEY TEXT ID2 TEXT2
//   notab   DIALOG ID TEXT            nolabel DIALOG ID        nogroup DIALOG ID
void InspectKeyboard(Probe& p) {
  auto key = [&](HWND h, const std::wstring& raw, const char* kind, bool needed) {
    if (AccessKey(raw))
      p.keyed[0].emplace_back(h, raw);
    else if (needed)
      p.report.Line("nokey", DialogOf(h, p.top), GetDlgCtrlID(h), kind, Words(raw), nullptr);
  };
  for (HWND h : p.shown) {
    if (Is(GetParent(h), L"ComboBox")) continue;  // an editable combo box's edit: the box has the key
    const std::wstring dialog = DialogOf(h, p.top), text = TextOf(h);
    const int id = GetDlgCtrlID(h);
    const LONG style = GetWindowLongW(h, GWL_STYLE), type = ButtonType(h);
    HWND before = ShownSibling(h, GW_HWNDPREV), after = ShownSibling(h, GW_HWNDNEXT);
    if (Is(h, L"Static") && !(style & SS_NOPREFIX) && !text.empty())
      key(h, text, "static", after && IsField(after));
    if (type >= 0 && type != BS_OWNERDRAW && !(style & (BS_BITMAP | BS_ICON)) && !text.empty())
      key(h, text, "button", type != BS_GROUPBOX && id != IDOK && id != IDCANCEL);
    // A radio button's group, from the control with WS_GROUP before it, starts with a radio button.
    HWND first = h;
    while (first && !(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) first = GetWindow(first, GW_HWNDPREV);
    if (IsRadio(h) && !(first && IsRadio(first)))
      p.report.Line("nogroup", dialog, id, "radio", text, nullptr);
    // A radio button is reached through its group's tab stop.
    bool changeable =
        (type >= 0 && type != BS_GROUPBOX && !IsRadio(h)) || IsField(h) || Is(h, TRACKBAR_CLASSW);
    if (changeable && IsWindowEnabled(h) && !(style & WS_TABSTOP))
      p.report.Line("notab", dialog, id, "control", Words(text), nullptr);
    // A label names the field after it; a check box or radio button that switches the field on, too.
    // Fields in a row after the first share its label.
    while (before && IsField(before) && std::abs(TopOf(before) - TopOf(h)) < 6)
      before = ShownSibling(before, GW_HWNDPREV);
    bool labelled = before && ((Is(before, L"Static") && TextOf(before).size() > 0) ||
                               (ButtonType(before) >= 0 && !TextOf(before).empty()));
    if (IsField(h) && IsWindowEnabled(h) && before && !labelled)
      p.report.Line("nolabel", dialog, id, "field", L"", nullptr);
  }
  for (auto& set : p.keyed)
    for (size_t i = 0; i < set.size(); ++i)
      for (size_t j = i + 1; j < set.size(); ++j)
        if (AccessKey(set[i].second) == AccessKey(set[j].second)) {
          std::string other = std::to_string(GetDlgCtrlID(set[j].first)) + "\t" + Field(Words(set[j].second));
          p.report.Line("samekey", TextOf(p.top), GetDlgCtrlID(set[i].first),
                        Utf8({AccessKey(set[i].second)}).c_str(), Words(set[i].second), other.c_str());
        }
}

// A pop-up menu (the tray's) is one window whose items are no child windows.
void InspectMenu(Probe& p) {
  auto menu = reinterpret_cast<HMENU>(SendMessageW(p.top, MN_GETHMENU, 0, 0));
  int n = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < n; ++i) {
    wchar_t text[256] = {};
    if (GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION) > 0)
      p.report.Text(L"menu", static_cast<int>(GetMenuItemID(menu, i)), "menu", Words(text));
  }
}

// The notification area (Wine's explorer): the tip of every icon on show, as pointing at it shows.
void InspectTray(Probe& p) {
  EnumThreadWindows(GetCurrentThreadId(), CollectTip, reinterpret_cast<LPARAM>(&p.tips));
  for (HWND tip : p.tips) {
    int n = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      TOOLINFOW ti = {};
      ti.cbSize = sizeof ti;
      if (!SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&ti)) || (ti.uFlags & TTF_TRACK))
        continue;
      HWND icon = (ti.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(ti.uId) : ti.hwnd;
      if (IsWindowVisible(icon)) p.report.Text(L"tray", 0, "tip", TipText(tip, ti));
    }
  }
}

void Inspect(Probe& p) {
  RECT frame = {};
  GetWindowRect(p.top, &frame);
  p.report.Window(frame);
  p.report.Os();
  if (Is(p.top, L"#32768")) return InspectMenu(p);
  if (Is(p.top, L"Shell_TrayWnd")) return InspectTray(p);
  p.report.Text(TextOf(p.top), 0, "title", TextOf(p.top));
  std::vector<HWND> all;
  EnumChildWindows(p.top, CollectChild, reinterpret_cast<LPARAM>(&all));
  for (HWND h : all)
    if (OnScreen(h, p.top)) p.shown.push_back(h);
  EnumThreadWindows(GetCurrentThreadId(), CollectTip, reinterpret_cast<LPARAM>(&p.tips));
  for (HWND h : p.shown) {
    const std::wstring dialog = DialogOf(h, p.top);
    const int id = GetDlgCtrlID(h);
    if (Is(h, L"Static"))
      InspectStatic(p, h, dialog, id);
    else if (Is(h, L"Button"))
      InspectButton(p, h, dialog, id);
    else if (Is(h, WC_TABCONTROLW))
      InspectTabs(p, h, dialog, id);
    else if (Is(h, WC_LISTVIEWW))
      InspectList(p, h, dialog, id);
    else if (Is(h, L"ComboBox"))
      InspectCombo(p, h, dialog, id);
    else if (Is(h, L"ListBox"))
      InspectListBox(p, h, dialog, id);
    else if (Is(h, L"Edit") && (GetWindowLongW(h, GWL_STYLE) & ES_READONLY))
      p.report.Text(dialog, id, "field", TextOf(h));
  }
  InspectOverlaps(p);
  InspectKeyboard(p);
}

void Answer(DWORD driver, HWND top) {
  wchar_t name[64];
  std::swprintf(name, 64, L"vx-e2e-probe-%lu", static_cast<unsigned long>(driver));
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
  std::swprintf(name, 64, L"vx-e2e-probe-done-%lu", static_cast<unsigned long>(driver));
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
  if (mapping && done) {
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kMappingSize));
    if (view) {
      Probe p;
      p.top = top;
      if (IsWindow(top)) Inspect(p);
      const std::string& out = p.report.str();
      uint32_t n = static_cast<uint32_t>(std::min(out.size(), kMappingSize - 4));
      std::memcpy(view + 4, out.data(), n);
      std::memcpy(view, &n, 4);
      UnmapViewOfFile(view);
      SetEvent(done);
    }
  }
  if (mapping) CloseHandle(mapping);
  if (done) CloseHandle(done);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wp, LPARAM lp) {
  static const UINT probeMessage = RegisterWindowMessageW(L"vx-e2e-probe");
  if (code == HC_ACTION && wp == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == probeMessage) {
      Answer(static_cast<DWORD>(msg->wParam), reinterpret_cast<HWND>(msg->lParam));
      msg->message = WM_NULL;  // the window itself has nothing to do with it
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
