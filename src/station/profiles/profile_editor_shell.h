// The profile editor's context over the station's hidden main dialog: its ports, its store and
// link, and what it knows of the adapter.
#pragma once
#include "platform/cert_store.h"
#include "station/profiles/profile_sheet.h"
#include "station/shell/hide_dlg.h"

namespace vx {

ProfileEditorContext MakeProfileEditorContext(HideDlg& shell, CertStorePort& certs);

}  // namespace vx
