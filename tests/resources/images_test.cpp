// The committed icons and bitmaps: what the generator draws now, and of the form the resource
// compiler and the views expect.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const fs::path kImages = fs::path(VX_RESOURCES_DIR) / "images";

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// Files named by the image scripts, e.g. ICON "tray_good.ico".
std::vector<std::string> NamedFiles() {
  std::vector<std::string> files;
  const std::regex named("(ICON|BITMAP) \"([^\"]+)\"");
  for (const auto& f : fs::directory_iterator(kImages)) {
    if (f.path().extension() != ".rc") continue;
    std::ifstream in(f.path());
    std::stringstream ss;
    ss << in.rdbuf();
    std::string s = ss.str();
    for (std::sregex_iterator it(s.begin(), s.end(), named), end; it != end; ++it) files.push_back((*it)[2]);
  }
  return files;
}

TEST(Images, CommittedFilesAreWhatTheGeneratorDraws) {
  fs::path out = fs::temp_directory_path() / ("vx_icongen_" + std::to_string(::getpid()));
  fs::create_directories(out);
  std::string cmd = std::string("\"") + VX_ICONGEN + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  int compared = 0;
  for (const auto& f : fs::directory_iterator(out)) {
    SCOPED_TRACE(f.path().filename().string());
    ASSERT_TRUE(fs::exists(kImages / f.path().filename())) << "run the vx_regenerate_images target";
    EXPECT_TRUE(ReadAll(f.path()) == ReadAll(kImages / f.path().filename()))
        << "stale image: run the vx_regenerate_images target";
    ++compared;
  }
  fs::remove_all(out);
  EXPECT_EQ(compared, static_cast<int>(NamedFiles().size()));
}

TEST(Images, IconsHold16To48PixelImagesWithAlpha) {
  const uint32_t sizes[] = {16, 20, 24, 32, 48};
  for (const auto& name : NamedFiles()) {
    if (fs::path(name).extension() != ".ico") continue;
    SCOPED_TRACE(name);
    auto b = ReadAll(kImages / name);
    ASSERT_GE(b.size(), 6u + 5 * 16);
    EXPECT_EQ(U16(b, 0), 0u);
    EXPECT_EQ(U16(b, 2), 1u);  // icon
    ASSERT_EQ(U16(b, 4), 5u);
    for (int i = 0; i < 5; ++i) {
      size_t e = 6 + 16 * i;
      uint32_t size = sizes[i], bytes = U32(b, e + 8), offset = U32(b, e + 12);
      EXPECT_EQ(b[e], size);
      EXPECT_EQ(U16(b, e + 6), 32u);
      ASSERT_LE(size_t(offset) + bytes, b.size());
      EXPECT_EQ(U32(b, offset + 4), size);
      EXPECT_EQ(U32(b, offset + 8), size * 2);  // colour and mask
      EXPECT_EQ(bytes, 40 + size * size * 4 + (size + 31) / 32 * 4 * size);
    }
  }
}

TEST(Images, BitmapsAre24BitWithMagentaBackground) {
  for (const auto& name : NamedFiles()) {
    if (fs::path(name).extension() != ".bmp") continue;
    SCOPED_TRACE(name);
    auto b = ReadAll(kImages / name);
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U16(b, 28), 24u);
    uint32_t width = U32(b, 18), height = U32(b, 22), stride = (width * 3 + 3) & ~3u;
    ASSERT_EQ(b.size(), 54 + stride * height);
    // The corners belong to the background, which the views draw transparent.
    for (size_t at : {size_t{54}, size_t{54 + (width - 1) * 3}, size_t{54 + (height - 1) * stride}}) {
      EXPECT_EQ(b[at], 0xff);
      EXPECT_EQ(b[at + 1], 0x00);
      EXPECT_EQ(b[at + 2], 0xff);
    }
  }
}

}  // namespace
