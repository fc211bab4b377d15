#pragma once

#include "Object.h"
#include "Ref.h"

#include <cstdint>

// The application's life from process entry to exit.
namespace Program {

// % main: runtime start, class records, _Main, module finalisation, runtime shut-down; the
// result is the exit status.
std::int32_t main_();
// % initialize: every class record the program uses, its own three last.
void initialize();
// _Main: framework start-up with _Startup, then the event loop; the program's one handler.
void Main();
// _Startup: the six start-up steps, run by the framework's initialisation.
void Startup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void MakeDefaultView();
void InitPluginEntrypoints();
// % finalize: releases the module globals.
void finalize();

// %__plugin_entrypoints
extern platform::Ref<platform::Object> pluginEntrypoints;

}
