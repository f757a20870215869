// Host stand-in for the platform's side of device units: a host has no
// desktop window and no win.ini, so it reports the Windows defaults, 96
// pixels per inch and a full stop as decimal separator.
#include "render/units.h"

namespace vell {

Resolution platform_desktop_resolution() { return Resolution{96, 96}; }

void initialise_display_units() { initialise_display_units(Resolution{96, 96}, "."); }

}  // namespace vell
