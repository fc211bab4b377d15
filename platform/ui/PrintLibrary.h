#pragma once

#include "Graphics.h"
#include "Ref.h"

namespace platform {

// Qt's print support, and the framework's code on it, is a library of its own (platform/print/,
// libsumwise_print.so) that is loaded when the first print dialog is asked for: linking it into
// the program would make every start load Qt's print library, which a window that may never
// print does not need. The program finds it in its own folder; its framework symbols come from
// the program, which exports them, so both share one copy of the framework's state.
namespace printlibrary {

inline constexpr char FileName[] = "libsumwise_print.so";
inline constexpr char EntryPointName[] = "sumwisePrintDialog";

// The library's entry point, named as above: shows the real print dialog and returns the page,
// or nil when the user cancelled; throws PrintJobException when the job cannot start.
extern "C" Ref<Graphics> sumwisePrintDialog();

// The entry point of the print library in this process: the one already there (a test or a
// benchmark links it), or else the one in the executable's folder, loaded now. Throws
// PrintJobException, with the system's reason, when it cannot be loaded.
decltype(&sumwisePrintDialog) entryPoint();

}

}
