// One-time set-up of the control classes the views use.
#pragma once
#include <windows.h>

namespace vx {

// Registers the common control classes (list view, track bar, progress bar, tab, IP address) and
// the bitmap button class. Safe to call more than once; the view classes call it themselves.
void InitUi();

}  // namespace vx
