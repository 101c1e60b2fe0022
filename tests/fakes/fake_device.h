// A scripted device: tests decide whether it opens and how each request is answered, and read
// back every request that reached it.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/device.h"

namespace vx {

class FakeDevice : public DevicePort {
 public:
  struct Request {
    std::string path;
    uint32_t ioctl = 0;
    uint32_t oid = 0;
    std::vector<uint8_t> data;  // the output buffer as passed in
    bool nullBuffer = false;
  };
  // Answers a request: may write into `out`, sets `returned`, and says whether it succeeded.
  using Handler = std::function<bool(const Request&, std::span<uint8_t> out, uint32_t& returned)>;

  std::unique_ptr<DeviceHandle> Open(const std::string& path) override;

  std::map<std::string, bool> openable;  // by path; absent paths do not open
  Handler handler = [](const Request&, std::span<uint8_t>, uint32_t&) { return true; };
  std::vector<Request> requests;
  int opens = 0;
  int closes = 0;
};

}  // namespace vx
