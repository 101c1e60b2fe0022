#include "fakes/fake_device.h"

namespace vx {
namespace {

class FakeHandle : public DeviceHandle {
 public:
  FakeHandle(FakeDevice& device, std::string path) : device_(device), path_(std::move(path)) {}
  ~FakeHandle() override { ++device_.closes; }
  bool Control(uint32_t ioctl, std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned) override {
    FakeDevice::Request r;
    r.path = path_;
    r.ioctl = ioctl;
    for (size_t i = 0; i < in.size() && i < 4; ++i) r.oid |= static_cast<uint32_t>(in[i]) << (8 * i);
    r.data.assign(out.begin(), out.end());
    r.nullBuffer = out.data() == nullptr;
    device_.requests.push_back(r);
    return device_.handler(r, out, returned);
  }

 private:
  FakeDevice& device_;
  std::string path_;
};

}  // namespace

std::unique_ptr<DeviceHandle> FakeDevice::Open(const std::string& path) {
  auto it = openable.find(path);
  if (it == openable.end() || !it->second) return nullptr;
  ++opens;
  return std::make_unique<FakeHandle>(*this, path);
}

}  // namespace vx
