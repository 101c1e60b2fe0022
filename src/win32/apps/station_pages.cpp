#include "win32/apps/station_pages.h"

namespace vx {

StationPageSet MakeStationPages(HideDlg&, StationPorts&, IpInfoPort&) {
  StationPageSet set;
  return set;
}

}  // namespace vx
