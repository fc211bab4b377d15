#pragma once

#include "Callable.h"
#include "Object.h"
#include "Ref.h"

#include <cstdint>
#include <exception>

namespace platform {

// Starts the runtime: the Qt application on the display the environment names, or the one that
// exists already, which then stays its maker's. With no display to open, the process ends with
// status 1 and a line on standard error that says so.
void RuntimeInit();
// Shuts the runtime down and ends the Qt application that RuntimeInit made; the result is the
// process's exit status: 0 after a normal quit, 1 once an unhandled exception has been reported.
std::int32_t RuntimeExit();

// _RunFrameworkInitialization: the framework's start-up, which runs the program's start-up
// routine once. An exception from the routine passes on to the caller.
void RunFrameworkInitialization(const Code& startup);
// _RuntimeRun: the event loop, until the application quits.
void RuntimeRun();
// Ends the event loop.
void Quit(std::int32_t status = 0);
// _UnhandledException: reports an exception that nothing caught, on standard error and, where
// there is a display, in a message box.
void UnhandledException(std::exception_ptr exception);
// _RuntimeInitExternalClasses
void RuntimeInitExternalClasses();

// Calls the program's initialiser of its plug-in entry points and passes on what it raises.
void PluginEntrypointsHook(void (*initPluginEntrypoints)());
// A new, empty plug-in entry-point table of count entries.
Ref<Object> RuntimeAllocatePluginEntrypointsTable(std::int32_t count);

bool runtimeReportedUnhandledException() noexcept;
// Whether the application's windows are on a display a user sees (not Qt's offscreen platform).
bool runtimeShowsWindows();

}
