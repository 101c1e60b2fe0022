// A button that draws a bitmap (magenta 0xFF00FF shows the background through) or an icon, tracks
// the mouse to show a hover frame, shows a hand cursor, and reports its click as a push button
// does: WM_COMMAND with BN_CLICKED to its parent, then the optional click callback.
// Window class "VxBitmapButton" (registered by InitUi), usable in dialog templates as well.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace vx {

inline constexpr wchar_t kBitmapButtonClass[] = L"VxBitmapButton";
inline constexpr COLORREF kTransparentColour = RGB(255, 0, 255);

// Flat: only the picture, with a raised frame while the mouse is over it. Framed: drawn as a
// standard push button with the picture on it.
enum class BitmapButtonLook { Flat, Framed };

void RegisterBitmapButtonClass();
bool IsBitmapButton(HWND hwnd);

// Creates a bitmap button at `rect` (parent client coordinates).
HWND CreateBitmapButton(HWND parent, int id, const RECT& rect, BitmapButtonLook look);
// Replaces a control of a dialog template by a bitmap button of the same ID, place, visibility,
// enabled state and tab position. Returns the new window, or null when there is no such control.
HWND ReplaceWithBitmapButton(HWND dialog, int id, BitmapButtonLook look);

// The bitmap drawn for the screen's DPI: from 144 DPI on, the one half as large again (the ID plus
// 1000) where the module has it, else `id` itself. Pictures are never stretched.
uint32_t BitmapForScreen(HINSTANCE module, uint32_t id);
// The size an icon is drawn at on this screen, from the sizes the icons hold: small 16, 20 or 24,
// large 32 or 48, the largest the DPI reaches (never less than the system's own metric).
int IconSizeForScreen(bool large);

// `imageId` names a bitmap resource of `module` or, when there is none, an icon; 0 clears it.
void SetBitmapButtonImage(HWND button, HINSTANCE module, uint32_t imageId);
void SetBitmapButtonLook(HWND button, BitmapButtonLook look);
void SetBitmapButtonClick(HWND button, std::function<void()> onClick);
// The picture's size in pixels, or 0 x 0 without one.
SIZE BitmapButtonImageSize(HWND button);
// True while the mouse is over the button (for tests and for parents that want to know).
bool BitmapButtonHovered(HWND button);

}  // namespace vx
