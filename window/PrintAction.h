#pragma once

#include "Object.h"

namespace Window1 {

// The Action handler of "Print!": called with the button, it works on the button's window.
void PushButton1_Action(platform::Object& receiver);

}
