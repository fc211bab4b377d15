#pragma once

#include "Object.h"

namespace Window1 {

// Handler of Layout: the shared menu bar, then the window's own properties.
void Layout(platform::Object& window);
// Handler of CreateControls: _CreateControls0, through the window's method table.
void CreateControls(platform::Object& window);
// _CreateControls0: the six controls, each finished before the next, and the Print action.
void CreateControls0(platform::Object& window);

}
