// Presses "Print!" as many times as the second argument says (default 1), each press printing
// its page to the PDF file named by the first: the program's own window, built as at start-up,
// and its road from the Print action's start to the finished file, with the dialog answered by a
// PDF page.
#include "Program.h"
#include "PdfPage.h"
#include "PrintDialog.h"
#include "Runtime.h"
#include "TextField.h"
#include "Window.h"
#include "PrintAction.h"
#include "Window1.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace platform;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf [PRESSES]\n", argv[0]);
        return 2;
    }
    const int presses = argc > 2 ? std::atoi(argv[2]) : 1;
    if (presses < 0) {
        std::fprintf(stderr, "PRESSES must be 0 or more\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    RuntimeInit();
    Program::initialize();
    {
        Ref<Object> window = Window1::implicitInstance();
        TextField::TextSet(*RuntimeWindowControlByName(window, "TextField1"), 0, "7");
        Ref<Object> button = RuntimeWindowControlByName(window, "PushButton1");

        const std::string path = argv[1];
        setPrintDialogHook([&](const Ref<Object>&, const Ref<Object>&) { return OpenPdfPage(path); });
        for (int i = 0; i < presses; ++i)
            Window1::PushButton1_Action(*button);
        setPrintDialogHook(nullptr);
    }
    Program::finalize();
    return RuntimeExit();
}
