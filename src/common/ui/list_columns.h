// Column widths that the pages give as shares of their list's width: the width in tenths times a
// factor, truncated. Computed in whole numbers, factors in tenths (2.3 is 23), so that every build
// gives the same pixels: the i686 programs' floating point keeps more precision than the native
// build's and would truncate 50 x 2.3 to 114.
#pragma once

namespace vx {

// trunc(width / 10 x factor)
constexpr int ShareOfWidth(int width, int factorTenths) { return width * factorTenths / 100; }
// trunc(trunc(width / 10) x factor): the tenth taken whole first
constexpr int ShareOfWholeTenths(int width, int factorTenths) { return width / 10 * factorTenths / 10; }

}  // namespace vx
