// ApHideDlg: an empty template; the dialog owns the tray icon and timer and is never shown.
#pragma once
#include "resources/resource_ids.h"
