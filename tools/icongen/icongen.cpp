// Draws the programs' icons and bitmaps and writes them as .ico and .bmp files, byte by byte.
// Glyphs are drawn in a 32-unit square with 4x4 supersampling; icons carry 16, 20, 24, 32 and 48
// pixel images, 32-bit with alpha plus the AND mask older shells use. Bitmaps are 24-bit and use
// magenta (0xFF00FF) for the background the views draw as transparent, so their edges are not
// blended: a pixel is either the glyph's colour or exact magenta.
// Usage: icongen <output folder>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgba {
  float r, g, b, a;
};
constexpr Rgba Rgb(int r, int g, int b) { return {r / 255.f, g / 255.f, b / 255.f, 1.f}; }

const Rgba kGreen = Rgb(0x2e, 0xb8, 0x3a);
const Rgba kYellow = Rgb(0xf2, 0xc8, 0x1b);
const Rgba kOrange = Rgb(0xf0, 0x80, 0x1a);
const Rgba kGrey = Rgb(0x9a, 0x9a, 0x9a);
const Rgba kEmpty = Rgb(0xe4, 0xe4, 0xe4);
const Rgba kRed = Rgb(0xd9, 0x25, 0x25);
const Rgba kDark = Rgb(0x30, 0x30, 0x30);
const Rgba kWhite = Rgb(0xff, 0xff, 0xff);
const Rgba kBlue = Rgb(0x1f, 0x6f, 0xd0);
const Rgba kGold = Rgb(0xe0, 0xa8, 0x10);

using Shape = std::function<bool(float x, float y)>;  // inside test in 32-unit coordinates

class Canvas {
 public:
  explicit Canvas(int size) : size_(size), px_(size * size, Rgba{0, 0, 0, 0}) {}
  int Size() const { return size_; }
  const Rgba& At(int x, int y) const { return px_[y * size_ + x]; }

  // Paints a shape; coverage comes from 4x4 samples per pixel. With hard edges a pixel is
  // painted fully when at least half its samples are inside.
  void Fill(const Shape& inside, Rgba c, bool hardEdges = false) {
    float scale = 32.f / size_;
    for (int y = 0; y < size_; ++y)
      for (int x = 0; x < size_; ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx)
            if (inside((x + (sx + 0.5f) / 4) * scale, (y + (sy + 0.5f) / 4) * scale)) ++hits;
        float cov = hits / 16.f;
        if (hardEdges) cov = cov >= 0.5f ? 1.f : 0.f;
        if (cov <= 0) continue;
        Rgba& d = px_[y * size_ + x];
        float a = c.a * cov;
        float outA = a + d.a * (1 - a);
        if (outA <= 0) continue;
        d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
        d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
        d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
        d.a = outA;
      }
  }

 private:
  int size_;
  std::vector<Rgba> px_;
};

Shape Rect(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
Shape RoundRect(float x0, float y0, float x1, float y1, float r) {
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    float cx = std::fmin(std::fmax(x, x0 + r), x1 - r), cy = std::fmin(std::fmax(y, y0 + r), y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}
Shape Disc(float cx, float cy, float r) {
  return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
// A ring, optionally limited to directions whose angle (degrees, 0 = right, 90 = up) lies in
// [from, to].
Shape Ring(float cx, float cy, float r, float width, float from = -360, float to = 360) {
  return [=](float x, float y) {
    float dx = x - cx, dy = cy - y, d = std::sqrt(dx * dx + dy * dy);
    if (std::fabs(d - r) > width / 2) return false;
    float ang = std::atan2(dy, dx) * 180.f / 3.14159265f;
    return (ang >= from && ang <= to) || (ang + 360 >= from && ang + 360 <= to);
  };
}
Shape Line(float x0, float y0, float x1, float y1, float width) {
  return [=](float x, float y) {
    float vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    float t = len2 > 0 ? ((x - x0) * vx + (y - y0) * vy) / len2 : 0;
    t = std::fmin(1.f, std::fmax(0.f, t));
    float dx = x - (x0 + t * vx), dy = y - (y0 + t * vy);
    return dx * dx + dy * dy <= width * width / 4;
  };
}
Shape Polygon(std::vector<std::pair<float, float>> pts) {
  return [=](float x, float y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      auto [xi, yi] = pts[i];
      auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}

// --- glyphs

// Four signal bars, the first `lit` of them in `color`, the others empty.
void SignalBars(Canvas& c, int lit, Rgba color) {
  for (int i = 0; i < 4; ++i) {
    float x0 = 3 + i * 7.f, x1 = x0 + 6, y0 = 29 - (8 + i * 6.f), y1 = 30;
    c.Fill(Rect(x0, y0, x1, y1), kDark);
    c.Fill(Rect(x0 + 1.2f, y0 + 1.2f, x1 - 1.2f, y1 - 1.2f), i < lit ? color : kEmpty);
  }
}
void Cross(Canvas& c, float cx, float cy, float half) {
  c.Fill(Line(cx - half, cy - half, cx + half, cy + half, 5.5f), kWhite);
  c.Fill(Line(cx + half, cy - half, cx - half, cy + half, 5.5f), kWhite);
  c.Fill(Line(cx - half, cy - half, cx + half, cy + half, 3.5f), kRed);
  c.Fill(Line(cx + half, cy - half, cx - half, cy + half, 3.5f), kRed);
}
void Lock(Canvas& c, float x0, float y0) {  // 14 wide, 16 high
  c.Fill(Ring(x0 + 7, y0 + 6, 4.2f, 4.6f, 0, 180), kWhite);
  c.Fill(Rect(x0 + 0.6f, y0 + 5.5f, x0 + 4.4f, y0 + 8), kWhite);
  c.Fill(Rect(x0 + 9.6f, y0 + 5.5f, x0 + 13.4f, y0 + 8), kWhite);
  c.Fill(Ring(x0 + 7, y0 + 6, 4.2f, 2.6f, 0, 180), kRed);
  c.Fill(Rect(x0 + 1.6f, y0 + 6, x0 + 4.2f, y0 + 8), kRed);
  c.Fill(Rect(x0 + 9.8f, y0 + 6, x0 + 12.4f, y0 + 8), kRed);
  c.Fill(RoundRect(x0 - 1, y0 + 7, x0 + 15, y0 + 17, 2), kWhite);
  c.Fill(RoundRect(x0, y0 + 8, x0 + 14, y0 + 16, 1.5f), kRed);
  c.Fill(Disc(x0 + 7, y0 + 11.5f, 1.6f), kWhite);
}
// An access point: a mast with `waves` arcs on each side in `color`.
void Mast(Canvas& c, int waves, Rgba color) {
  c.Fill(Polygon({{16, 11}, {21, 30}, {11, 30}}), kDark);
  c.Fill(Polygon({{16, 14}, {19, 28.8f}, {13, 28.8f}}), kGrey);
  c.Fill(Disc(16, 10, 3), kDark);
  for (int i = 0; i < 3; ++i) {
    float r = 6.f + i * 4.5f;
    Rgba w = i < waves ? color : kEmpty;
    c.Fill(Ring(16, 10, r, 3.4f, -40, 40), kDark);
    c.Fill(Ring(16, 10, r, 3.4f, 140, 220), kDark);
    c.Fill(Ring(16, 10, r, 1.8f, -36, 36), w);
    c.Fill(Ring(16, 10, r, 1.8f, 144, 216), w);
  }
}
void PowerSymbol(Canvas& c, Rgba disc) {
  c.Fill(Disc(16, 16, 14.5f), kDark);
  c.Fill(Disc(16, 16, 13.2f), disc);
  c.Fill(Ring(16, 17, 7, 3, 120, 420), kWhite);
  c.Fill(Line(16, 6.5f, 16, 15, 3), kWhite);
}

using Glyph = std::function<void(Canvas&)>;

struct IconDrawing {
  const char* file;
  Glyph draw;
};
struct BitmapDrawing {
  const char* file;
  int width, height;
  Glyph draw;  // drawn in a 32-unit square scaled to the height, centred
};

const std::vector<IconDrawing>& Icons() {
  static const std::vector<IconDrawing> icons = {
      {"tray_good.ico", [](Canvas& c) { SignalBars(c, 4, kGreen); }},
      {"tray_normal.ico", [](Canvas& c) { SignalBars(c, 3, kYellow); }},
      {"tray_weak.ico", [](Canvas& c) { SignalBars(c, 2, kOrange); }},
      {"tray_disconnected.ico", [](Canvas& c) { SignalBars(c, 0, kGrey); }},
      {"tray_not_present.ico", [](Canvas& c) { SignalBars(c, 0, kGrey); Cross(c, 16, 14, 9); }},
      {"tray_wep_error.ico", [](Canvas& c) { SignalBars(c, 4, kGrey); Lock(c, 15, 1); }},
      {"radio_on.ico", [](Canvas& c) { PowerSymbol(c, kGreen); }},
      {"radio_off.ico",
       [](Canvas& c) {
         PowerSymbol(c, kGrey);
         c.Fill(Line(6, 26, 26, 6, 5.5f), kWhite);
         c.Fill(Line(6, 26, 26, 6, 3.5f), kRed);
       }},
      {"profile_connected.ico",
       [](Canvas& c) {
         c.Fill(Disc(16, 16, 14.5f), kDark);
         c.Fill(Disc(16, 16, 13.2f), kGreen);
         c.Fill(Line(9, 16.5f, 14, 21.5f, 4), kWhite);
         c.Fill(Line(14, 21.5f, 23.5f, 10.5f, 4), kWhite);
       }},
      {"profile_idle.ico",
       [](Canvas& c) {
         c.Fill(Disc(16, 16, 14.5f), kDark);
         c.Fill(Disc(16, 16, 13.2f), kGold);
         c.Fill(Line(9, 16, 23, 16, 4.5f), kWhite);
       }},
      {"survey_infrastructure.ico", [](Canvas& c) { Mast(c, 3, kBlue); }},
      {"survey_adhoc.ico",
       [](Canvas& c) {
         c.Fill(Line(8, 22, 24, 10, 3), kDark);
         c.Fill(Disc(8, 22, 6.5f), kDark);
         c.Fill(Disc(8, 22, 5.2f), kBlue);
         c.Fill(Disc(24, 10, 6.5f), kDark);
         c.Fill(Disc(24, 10, 5.2f), kBlue);
       }},
      {"ap_lost.ico", [](Canvas& c) { Mast(c, 3, kGrey); }},
      {"ap_good.ico", [](Canvas& c) { Mast(c, 3, kGreen); }},
      {"ap_normal.ico", [](Canvas& c) { Mast(c, 2, kYellow); }},
      {"ap_weak.ico", [](Canvas& c) { Mast(c, 1, kOrange); }},
      {"ap_not_present.ico", [](Canvas& c) { Mast(c, 0, kGrey); Cross(c, 16, 17, 9); }},
  };
  return icons;
}

const std::vector<BitmapDrawing>& Bitmaps() {
  static const std::vector<BitmapDrawing> bitmaps = {
      // The one-button set-up button: a shield with a key hole.
      {"quicksecure.bmp", 32, 32,
       [](Canvas& c) {
         c.Fill(Polygon({{16, 2}, {28, 6}, {27, 18}, {16, 30}, {5, 18}, {4, 6}}), kDark, true);
         c.Fill(Polygon({{16, 4.5f}, {25.5f, 7.8f}, {24.8f, 17.2f}, {16, 27}, {7.2f, 17.2f}, {6.5f, 7.8f}}),
                kBlue, true);
         c.Fill(Disc(16, 13, 3.6f), kWhite, true);
         c.Fill(Polygon({{14.4f, 14}, {17.6f, 14}, {18.6f, 22}, {13.4f, 22}}), kWhite, true);
       }},
      {"radio_on.bmp", 32, 32, [](Canvas& c) { Mast(c, 3, kGreen); }},
      {"radio_off.bmp", 32, 32,
       [](Canvas& c) {
         Mast(c, 0, kGrey);
         c.Fill(Line(5, 27, 27, 5, 3.5f), kRed);
       }},
  };
  return bitmaps;
}

// --- file writers

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xff);
  b.push_back((v >> 8) & 0xff);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}
uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::fmin(1.f, std::fmax(0.f, v)) * 255)); }

// One icon image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up, then
// the AND mask (1 = transparent), rows padded to 32 bits.
std::vector<uint8_t> IconImage(const Canvas& c) {
  int n = c.Size();
  int maskStride = ((n + 31) / 32) * 4;
  std::vector<uint8_t> b;
  Put32(b, 40);
  Put32(b, n);
  Put32(b, n * 2);
  Put16(b, 1);
  Put16(b, 32);
  Put32(b, 0);
  Put32(b, n * n * 4 + maskStride * n);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) {
      const Rgba& p = c.At(x, y);
      b.push_back(Byte(p.b));
      b.push_back(Byte(p.g));
      b.push_back(Byte(p.r));
      b.push_back(Byte(p.a));
    }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < n; ++x)
      if (Byte(c.At(x, y).a) < 128) row[x / 8] |= 0x80 >> (x % 8);
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

std::vector<uint8_t> IconFile(const Glyph& draw) {
  std::vector<std::vector<uint8_t>> images;
  // The small icon at 96, 120 and 144 DPI, and the large one at 96 and 144: each drawn at its
  // size, so that the system need not scale one.
  const int sizes[] = {16, 20, 24, 32, 48};
  for (int s : sizes) {
    Canvas c(s);
    draw(c);
    images.push_back(IconImage(c));
  }
  std::vector<uint8_t> b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, images.size());
  uint32_t offset = 6 + 16 * images.size();
  for (size_t i = 0; i < images.size(); ++i) {
    b.push_back(sizes[i]);
    b.push_back(sizes[i]);
    b.push_back(0);
    b.push_back(0);
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, images[i].size());
    Put32(b, offset);
    offset += images[i].size();
  }
  for (auto& img : images) b.insert(b.end(), img.begin(), img.end());
  return b;
}

std::vector<uint8_t> BitmapFile(const BitmapDrawing& drawing) {
  Canvas glyph(drawing.height);
  drawing.draw(glyph);
  int w = drawing.width, h = drawing.height, left = (w - h) / 2;
  int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 14 + 40 + stride * h);
  Put32(b, 0);
  Put32(b, 14 + 40);
  Put32(b, 40);
  Put32(b, w);
  Put32(b, h);
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, stride * h);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    int written = 0;
    for (int x = 0; x < w; ++x) {
      int gx = x - left;
      Rgba p = (gx >= 0 && gx < h) ? glyph.At(gx, y) : Rgba{0, 0, 0, 0};
      if (p.a < 0.5f) {
        b.push_back(0xff);  // magenta, blue first
        b.push_back(0x00);
        b.push_back(0xff);
      } else {
        b.push_back(Byte(p.b));
        b.push_back(Byte(p.g));
        b.push_back(Byte(p.r));
      }
      written += 3;
    }
    for (; written < stride; ++written) b.push_back(0);
  }
  return b;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen <output folder>\n");
    return 2;
  }
  std::string dir = argv[1];
  for (const auto& icon : Icons())
    if (!WriteFile(dir + "/" + icon.file, IconFile(icon.draw))) {
      std::fprintf(stderr, "icongen: cannot write %s/%s\n", dir.c_str(), icon.file);
      return 1;
    }
  // Each bitmap also drawn half as large again, "name_48.bmp", for 144 DPI.
  for (const auto& bmp : Bitmaps()) {
    BitmapDrawing large = bmp;
    large.width = bmp.width * 3 / 2;
    large.height = bmp.height * 3 / 2;
    std::string name = bmp.file, largeName = name.substr(0, name.size() - 4) + "_48.bmp";
    if (!WriteFile(dir + "/" + name, BitmapFile(bmp)) ||
        !WriteFile(dir + "/" + largeName, BitmapFile(large))) {
      std::fprintf(stderr, "icongen: cannot write %s/%s\n", dir.c_str(), bmp.file);
      return 1;
    }
  }
  return 0;
}
