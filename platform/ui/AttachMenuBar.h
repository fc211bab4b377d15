#pragma once

// Private to the framework: a window's menu bar on its Qt window.

#include "Object.h"
#include "Ref.h"

class QMainWindow;

namespace platform {

// Shows menuBar (a MenuBar) as window's menu bar; nil leaves the window without one.
void attachMenuBar(QMainWindow& window, const Ref<Object>& menuBar);

}
