#pragma once

#include "PrintJobException.h"

namespace platform {

// Tells the user that a print job could not start or could not be finished: one line on
// standard error and, where there is a display, a message box, both saying where the page was to
// go, the system's reason and what became of the file. The program then goes on.
void reportPrintFailure(const PrintJobException& failure) noexcept;

}
