#pragma once

#include "Graphics.h"
#include "Object.h"
#include "Ref.h"

#include <functional>
#include <string>

namespace platform {

// Shows the print dialog and returns the page to draw on, or nil when the user cancelled.
// A job that cannot start raises PrintJobException. Releasing the page ends the job.
Ref<Graphics> OpenPrinterDialog(const Ref<Object>& printerSetup, const Ref<Object>& parentWindow);

// Replaces the dialog, so that tests can print with no one there to answer it; an empty
// function restores the real dialog.
using PrintDialogHook = std::function<Ref<Graphics>(const Ref<Object>& printerSetup, const Ref<Object>& parentWindow)>;
void setPrintDialogHook(PrintDialogHook hook);

// A page that prints to the PDF file at path, as the dialog's "print to file" would.
Ref<Graphics> OpenPdfPage(const std::string& path);

}
