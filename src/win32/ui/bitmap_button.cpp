#include "win32/ui/bitmap_button.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace vx {
namespace {

struct ButtonState {
  HINSTANCE module = nullptr;
  HBITMAP bitmap = nullptr;  // shared resource images: the system frees them
  HICON icon = nullptr;
  SIZE size{0, 0};
  BitmapButtonLook look = BitmapButtonLook::Flat;
  bool hover = false;
  bool pressed = false;   // mouse button or space bar down over the button
  bool capturing = false;
  std::function<void()> onClick;
};

ButtonState* StateOf(HWND hwnd) {
  if (!IsBitmapButton(hwnd)) return nullptr;
  return reinterpret_cast<ButtonState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Click(HWND hwnd, ButtonState& s) {
  if (!IsWindowEnabled(hwnd)) return;
  // Copied first: the handler may destroy the button.
  std::function<void()> onClick = s.onClick;
  HWND parent = GetParent(hwnd);
  int id = GetDlgCtrlID(hwnd);
  if (parent) SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
  if (onClick) onClick();
}

void DrawPicture(HDC dc, const ButtonState& s, int x, int y) {
  if (s.bitmap) {
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(src, s.bitmap);
    TransparentBlt(dc, x, y, s.size.cx, s.size.cy, src, 0, 0, s.size.cx, s.size.cy, kTransparentColour);
    SelectObject(src, old);
    DeleteDC(src);
  } else if (s.icon) {
    DrawIconEx(dc, x, y, s.icon, s.size.cx, s.size.cy, 0, nullptr, DI_NORMAL);
  }
}

void Paint(HWND hwnd, ButtonState& s) {
  PAINTSTRUCT ps;
  HDC target = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  int w = rc.right, h = rc.bottom;
  // Drawn off screen first so that hover changes do not flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, w > 0 ? w : 1, h > 0 ? h : 1);
  HGDIOBJ oldBuffer = SelectObject(dc, buffer);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  bool down = s.pressed && s.hover;
  if (s.look == BitmapButtonLook::Framed) {
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
  } else {
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (enabled && (s.hover || s.pressed)) DrawEdge(dc, &rc, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  int shift = down ? 1 : 0;
  if (s.bitmap || s.icon) {
    DrawPicture(dc, s, (w - s.size.cx) / 2 + shift, (h - s.size.cy) / 2 + shift);
  } else {
    wchar_t text[256];
    int n = GetWindowTextW(hwnd, text, 256);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT tr = rc;
    OffsetRect(&tr, shift, shift);
    DrawTextW(dc, text, n, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
  }
  if (GetFocus() == hwnd) {
    RECT fr = rc;
    InflateRect(&fr, -3, -3);
    DrawFocusRect(dc, &fr);
  }
  BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBuffer);
  DeleteObject(buffer);
  DeleteDC(dc);
  EndPaint(hwnd, &ps);
}

void SetHover(HWND hwnd, ButtonState& s, bool hover) {
  if (s.hover == hover) return;
  s.hover = hover;
  if (hover) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&tme);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ButtonState));
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  auto* s = reinterpret_cast<ButtonState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!s) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete s;
      return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_PAINT:
      Paint(hwnd, *s);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR: {
      static HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
      HCURSOR cursor = hand ? hand : LoadCursorW(nullptr, IDC_ARROW);
      SetCursor(cursor);
      return TRUE;
    }
    case WM_MOUSEMOVE: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT rc;
      GetClientRect(hwnd, &rc);
      SetHover(hwnd, *s, PtInRect(&rc, pt) != FALSE);
      return 0;
    }
    case WM_MOUSELEAVE:
      SetHover(hwnd, *s, false);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(hwnd);
      SetCapture(hwnd);
      s->capturing = true;
      s->pressed = true;
      s->hover = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      if (!s->capturing) return 0;
      bool inside = s->hover;
      s->capturing = false;
      s->pressed = false;
      ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      if (inside) Click(hwnd, *s);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s->capturing) {
        s->capturing = false;
        s->pressed = false;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE && !s->pressed) {
        s->pressed = true;
        s->hover = true;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE && s->pressed && !s->capturing) {
        s->pressed = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        Click(hwnd, *s);
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case BM_CLICK:
      Click(hwnd, *s);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void RegisterBitmapButtonClass() {
  WNDCLASSW wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = ButtonProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBitmapButtonClass;
  RegisterClassW(&wc);  // fails harmlessly when already registered
}

bool IsBitmapButton(HWND hwnd) {
  if (!hwnd) return false;
  wchar_t name[32];
  return GetClassNameW(hwnd, name, 32) && lstrcmpiW(name, kBitmapButtonClass) == 0;
}

HWND CreateBitmapButton(HWND parent, int id, const RECT& rect, BitmapButtonLook look) {
  RegisterBitmapButtonClass();
  HWND hwnd = CreateWindowExW(0, kBitmapButtonClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
  SetBitmapButtonLook(hwnd, look);
  return hwnd;
}

HWND ReplaceWithBitmapButton(HWND dialog, int id, BitmapButtonLook look) {
  HWND old = GetDlgItem(dialog, id);
  if (!old) return nullptr;
  if (IsBitmapButton(old)) {
    SetBitmapButtonLook(old, look);
    return old;
  }
  RECT rc;
  GetWindowRect(old, &rc);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
  LONG style = GetWindowLongW(old, GWL_STYLE);
  wchar_t text[256];
  GetWindowTextW(old, text, 256);
  HWND hwnd = CreateBitmapButton(dialog, id, rc, look);
  if (!hwnd) return nullptr;
  SetWindowTextW(hwnd, text);
  // Same place in the tab order: directly after the old control, which then goes.
  SetWindowPos(hwnd, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  bool hadFocus = GetFocus() == old;
  DestroyWindow(old);
  EnableWindow(hwnd, (style & WS_DISABLED) == 0);
  if (!(style & WS_VISIBLE)) ShowWindow(hwnd, SW_HIDE);
  if (hadFocus) SetFocus(hwnd);
  return hwnd;
}

void SetBitmapButtonImage(HWND button, HINSTANCE module, uint32_t imageId) {
  ButtonState* s = StateOf(button);
  if (!s) return;
  s->module = module;
  s->bitmap = nullptr;
  s->icon = nullptr;
  s->size = {0, 0};
  if (imageId != 0) {
    LPCWSTR name = MAKEINTRESOURCEW(imageId);
    if (FindResourceW(module, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */)) {
      s->bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(BitmapForScreen(module, imageId)),
                                                  IMAGE_BITMAP, 0, 0, LR_SHARED));
      BITMAP bm{};
      if (s->bitmap && GetObjectW(s->bitmap, sizeof(bm), &bm)) s->size = {bm.bmWidth, bm.bmHeight};
    } else {
      int cx = IconSizeForScreen(false), cy = cx;
      RECT rc;
      GetClientRect(button, &rc);
      // Large icons when the button has room for them.
      if (rc.bottom - rc.top >= IconSizeForScreen(true) + 4) cx = cy = IconSizeForScreen(true);
      s->icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, cx, cy, LR_SHARED));
      if (s->icon) s->size = {cx, cy};
    }
  }
  InvalidateRect(button, nullptr, FALSE);
}

namespace {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int IconSizeForScreen(bool large) {
  const int want = MulDiv(large ? 32 : 16, ScreenDpi(), 96);
  int size = large ? 32 : 16;
  for (int made : large ? std::initializer_list<int>{32, 48} : std::initializer_list<int>{16, 20, 24})
    if (made <= want) size = made;
  return std::max(size, GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON));
}

uint32_t BitmapForScreen(HINSTANCE module, uint32_t id) {
  constexpr uint32_t kLarge = 1000;  // resources/resource_ids.h, VX_IDB_LARGE
  const int dpi = ScreenDpi();
  if (dpi >= 144 && FindResourceW(module, MAKEINTRESOURCEW(id + kLarge), MAKEINTRESOURCEW(2) /* RT_BITMAP */))
    return id + kLarge;
  return id;
}

void SetBitmapButtonLook(HWND button, BitmapButtonLook look) {
  if (ButtonState* s = StateOf(button)) {
    s->look = look;
    InvalidateRect(button, nullptr, FALSE);
  }
}

void SetBitmapButtonClick(HWND button, std::function<void()> onClick) {
  if (ButtonState* s = StateOf(button)) s->onClick = std::move(onClick);
}

SIZE BitmapButtonImageSize(HWND button) {
  ButtonState* s = StateOf(button);
  return s ? s->size : SIZE{0, 0};
}

bool BitmapButtonHovered(HWND button) {
  ButtonState* s = StateOf(button);
  return s && s->hover;
}

}  // namespace vx
