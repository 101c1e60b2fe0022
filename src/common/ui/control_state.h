// The state of one dialog control as a model sees it. A view copies it to the real control and
// copies the user's changes back; it decides nothing itself.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct ListColumn {
  std::string title;
  int width = 0;  // pixels; 0 lets the view choose
};

struct ListRow {
  std::vector<std::string> cells;
  int image = -1;  // index into the list's image list, -1 for none
  bool operator==(const ListRow&) const = default;
};

struct ControlState {
  std::string text;                // edit, static, button, group box; IP address as dotted text
  std::vector<std::string> items;  // combo box and list box entries
  int selection = -1;              // combo, list box, list view row, radio group index
  bool checked = false;            // check box, radio button
  bool enabled = true;
  bool visible = true;
  bool readOnly = false;
  int position = 0;  // track bar, progress bar
  int rangeMin = 0;
  int rangeMax = 100;
  int image = 0;  // icon or bitmap resource shown by the control, 0 for none
  std::vector<ListColumn> columns;  // report-view list
  std::vector<ListRow> rows;
  bool operator==(const ControlState&) const = default;
};

}  // namespace vx
