// The state of one dialog control as a model sees it. A view copies it to the real control and
// copies the user's changes back; it decides nothing itself.
#pragma once
#include <cstdint>
#include <optional>
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

// Extended styles of a report-view list, numbered as the common controls number them (all of
// them there since version 4.71).
enum : uint32_t {
  kListGridLines = 0x1,
  kListFullRowSelect = 0x20,
  kListFlatScrollBars = 0x100,
  kListInfoTips = 0x400,
};

// How a control follows when its dialog grows taller (DialogModel::growHeight).
enum class Anchor { Top, Bottom, Stretch };

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
  std::vector<uint32_t> listImages;  // icon resources of the list's small image list, by image index
  uint32_t listStyle = 0;            // extended list styles (kListGridLines ...)
  int maxLength = 0;                 // edit: the most characters it takes; 0 keeps the template's limit
  std::optional<uint32_t> textColour;  // static: its text colour (0x00BBGGRR), none for the system's
  Anchor anchor = Anchor::Top;         // Bottom moves with the dialog's bottom edge, Stretch grows
  bool operator==(const ControlState&) const = default;
};

}  // namespace vx
