#include "station/dot1x/supplicant_context.h"

#include <algorithm>

#include "driver/oid_codes.h"
#include "platform/trace.h"

namespace vx {

bool SupplicantContext::Open() {
  if (!open_) open_ = port_.OpenGlobal(kFamilyKey);
  if (!open_) Trace("Supplicant library not available\n");
  return open_;
}

bool SupplicantContext::Bind() {
  usable_ = false;
  if (!open_) return false;
  MacAddress mac{};
  if (!channel_.Query(OID_802_3_CURRENT_ADDRESS, mac)) return false;
  // A driver that answered without an address gives nothing to match.
  if (std::all_of(mac.begin(), mac.end(), [](uint8_t b) { return b == 0; })) return false;
  usable_ = port_.BindAdapter(mac);
  if (!usable_) Trace("Supplicant has no adapter %s\n", FormatMac(mac).c_str());
  return usable_;
}

bool SupplicantContext::PollNeedsCredentials() {
  if (!usable_) return false;
  const SupplicantEvent e = port_.Query();
  if (e.kind == SupplicantEvent::CredentialsRequest) return true;
  return e.kind == SupplicantEvent::Status && (e.number == kAcIdentityRejected || e.number == kAcPasswordRejected);
}

void SupplicantContext::Release() {
  if (open_) port_.Release();
  open_ = false;
  usable_ = false;
}

}  // namespace vx
