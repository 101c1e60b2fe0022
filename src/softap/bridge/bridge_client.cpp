#include "softap/bridge/bridge_client.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "platform/trace.h"

namespace vx {

bool BridgeDevice::Open(const std::string& name) {
  handle_ = port_.Open("\\\\.\\" + name);
  return Valid();
}

bool BridgeDevice::Request(uint32_t code, std::span<const uint8_t> in, std::span<uint8_t> out) {
  if (!handle_) return false;
  uint32_t returned = 0;
  return handle_->Control(code, in, out, returned);
}

int32_t BridgeDevice::Version() {
  auto in = ByteWriter().I32(-1).Take();
  auto out = ByteWriter().I32(-1).Take();
  if (!Request(kQueryVersion, in, out)) return -1;
  ByteReader r(out);
  return r.I32();
}

bool BridgeDevice::SetState(bool on) {
  if (Version() != static_cast<int32_t>(kBridgingVersion)) return false;
  Trace("\nThis version support bridging.\n");
  auto in = ByteWriter().U32(on ? 1 : 0).Take();
  return Request(kSetState, in, {});
}

uint32_t BridgeDevice::GetState() {
  if (Version() != static_cast<int32_t>(kBridgingVersion)) {
    Trace("\nThis version of driver does not support ethernet bridging.\n");
    return 0;
  }
  std::vector<uint8_t> out(4, 0);
  if (!Request(kQueryState, {}, out)) {
    Trace("Failed to get bridging state.\n");
    return 0;
  }
  ByteReader r(out);
  return r.U32();
}

bool StartBridging(DevicePort& port) {
  BridgeDevice device(port);
  if (!device.Open()) return false;
  bool on = device.SetState(true);
  device.Close();
  return on;
}

bool EnsureBridging(BridgeDevice& held, DevicePort& port) {
  held.Open();
  if (held.GetState() != 0) return true;
  return StartBridging(port);
}

}  // namespace vx
