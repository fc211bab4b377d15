#pragma once

#include "Object.h"
#include "Ref.h"

namespace Window1 {

// The window takes the application's shared menu bar, which the layer above owns; that layer
// hands its accessor down at start-up, so the window never reaches up for it.
using MenuBarAccessor = platform::Ref<platform::Object> (*)();
void setSharedMenuBarAccessor(MenuBarAccessor accessor);
// A new reference to the shared menu bar.
platform::Ref<platform::Object> sharedMenuBar();

}
