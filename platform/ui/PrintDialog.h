#pragma once

#include "Graphics.h"
#include "Object.h"
#include "Ref.h"

#include <functional>

namespace platform {

// Shows the print dialog and returns the page to draw on, or nil when the user cancelled or the
// job could not start (which the print layer has then told the user). Releasing the page ends
// the job.
Ref<Graphics> OpenPrinterDialog(const Ref<Object>& printerSetup, const Ref<Object>& parentWindow);

// Replaces the dialog, so that tests can print with no one there to answer it; an empty
// function restores the real dialog.
using PrintDialogHook = std::function<Ref<Graphics>(const Ref<Object>& printerSetup, const Ref<Object>& parentWindow)>;
void setPrintDialogHook(PrintDialogHook hook);

}
