#include "driver/config_record.h"

#include "driver/oid_codes.h"

namespace vx {

ConfigWriteResult WriteConfigRecord(OidChannel& channel, uint32_t queryOid, uint32_t setOid,
                                    const std::function<void(ConfigWords&)>& modify, ConfigWords* sent,
                                    OnQueryFailure onFailure) {
  Bytes current(kConfigRecordSize, 0);
  const bool queried = channel.Query(queryOid, current);
  if (!queried && onFailure == OnQueryFailure::Stop) return ConfigWriteResult::QueryFailed;
  ConfigWords words = DecodeConfigWords(current);
  modify(words);
  Bytes wanted = EncodeConfigWords(words);
  if (wanted == current) return ConfigWriteResult::Unchanged;
  bool ok = channel.Set(setOid, wanted);
  if (sent) *sent = words;
  return ok ? ConfigWriteResult::Sent : ConfigWriteResult::SetFailed;
}

}  // namespace vx
