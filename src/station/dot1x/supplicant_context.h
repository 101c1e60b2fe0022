// The station's one supplicant context: opened for the chip family, bound to the adapter whose
// MAC address the driver reports, usable only when both succeeded.
#pragma once
#include <string_view>

#include "driver/oid_channel.h"
#include "platform/supplicant.h"

namespace vx {

class SupplicantContext {
 public:
  static constexpr std::string_view kFamilyKey = "KC30";

  SupplicantContext(SupplicantPort& port, OidChannel& channel) : port_(port), channel_(channel) {}
  SupplicantContext(const SupplicantContext&) = delete;
  SupplicantContext& operator=(const SupplicantContext&) = delete;
  ~SupplicantContext() { Release(); }

  // Opens the global context; false when the library is absent or refuses.
  bool Open();
  // Binds the adapter with the driver's current MAC address; needs Open first.
  bool Bind();
  bool OpenAndBind() { return Open() && Bind(); }

  bool IsOpen() const { return open_; }
  // WPA and 802.1X are available only while this holds.
  bool Usable() const { return usable_; }

  // One poll while 802.1X is active: true when the library asks for the credentials again
  // (a credentials request, or the identity or password was rejected).
  bool PollNeedsCredentials();

  // Releases the adapter and global contexts; safe to call more than once.
  void Release();

  SupplicantPort& Port() { return port_; }

 private:
  SupplicantPort& port_;
  OidChannel& channel_;
  bool open_ = false;
  bool usable_ = false;
};

}  // namespace vx
