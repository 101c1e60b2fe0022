// Column widths that the pages give as shares of their list's width: the width in tenths times a
// factor, truncated. Computed in whole numbers, factors in tenths (2.3 is 23), so that every build
// gives the same pixels: the i686 programs' floating point keeps more precision than the native
// build's and would truncate 50 x 2.3 to 114.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "common/ui/control_state.h"

namespace vx {

// trunc(width / 10 x factor)
constexpr int ShareOfWidth(int width, int factorTenths) { return width * factorTenths / 100; }
// trunc(trunc(width / 10) x factor): the tenth taken whole first
constexpr int ShareOfWholeTenths(int width, int factorTenths) { return width / 10 * factorTenths / 10; }

// A list whose row icons mean something (the connected network, the active profile) says so in
// words too while a screen reader runs: a reader speaks a row's texts, its columns included, but
// not its icon. The words go in a last column after the list's own `fixed` columns, so those keep
// their places and texts; without a screen reader the list stays as it is.
// Fills the status column from each row's image: `meanings` by image index, no image no words.
inline void ShowRowStatus(ControlState& list, size_t fixed, const std::vector<std::string>& meanings) {
  if (list.columns.size() <= fixed) return;
  for (ListRow& row : list.rows) {
    row.cells.resize(fixed + 1);
    const bool known = row.image >= 0 && static_cast<size_t>(row.image) < meanings.size();
    row.cells[fixed] = known ? meanings[static_cast<size_t>(row.image)] : std::string();
  }
}

}  // namespace vx
