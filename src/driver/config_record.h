// Read-modify-write of the 32-byte configuration records (StaConfig, ApConfig): the writer
// overwrites only the words it owns, so reserved and driver-owned words go back as read.
#pragma once
#include <functional>
#include <optional>

#include "driver/oid_channel.h"
#include "driver/records.h"

namespace vx {

enum class ConfigWriteResult { QueryFailed, Unchanged, Sent, SetFailed };

// What a failed query means: the station stops there; the access point utility goes on with the
// record as the failed query left it (zeros where the driver wrote nothing) and lets the
// comparison decide.
enum class OnQueryFailure { Stop, Compare };

// Queries `queryOid`, applies `modify`, and sets `setOid` only when a byte differs.
// `sent` (optional) receives the record that was sent.
ConfigWriteResult WriteConfigRecord(OidChannel& channel, uint32_t queryOid, uint32_t setOid,
                                    const std::function<void(ConfigWords&)>& modify,
                                    ConfigWords* sent = nullptr,
                                    OnQueryFailure onFailure = OnQueryFailure::Stop);

}  // namespace vx
