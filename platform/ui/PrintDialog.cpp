#include "PrintDialog.h"

#include "PrintFailureReport.h"
#include "PrintJobException.h"
#include "PrintLibrary.h"
#include "UnsupportedOperationException.h"

#include <QApplication>

namespace platform {

namespace {

PrintDialogHook& dialogHook()
{
    static PrintDialogHook hook;
    return hook;
}

Ref<Graphics> showPrintDialog(const Ref<Object>& printerSetup)
{
    if (printerSetup)
        throw UnsupportedOperationException("OpenPrinterDialog: printer settings objects are not supported; pass nil to use the printer's own");
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw PrintJobException("OpenPrinterDialog: the print dialog needs the application's windows to be running");
    return printlibrary::entryPoint()();
}

}

Ref<Graphics> OpenPrinterDialog(const Ref<Object>& printerSetup, const Ref<Object>& parentWindow)
{
    // A job that cannot start is the print layer's to tell; for the program it ends the press as
    // a cancelled dialog would.
    try {
        // A copy, so that a hook may replace itself while it runs.
        if (const PrintDialogHook hook = dialogHook())
            return hook(printerSetup, parentWindow);
        return showPrintDialog(printerSetup);
    } catch (const PrintJobException& failure) {
        reportPrintFailure(failure);
        return nullptr;
    }
}

void setPrintDialogHook(PrintDialogHook hook)
{
    dialogHook() = std::move(hook);
}

}
