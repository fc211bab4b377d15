#pragma once

#include "ClassRecord.h"

// The application class: the framework's Application with nothing of its own.
namespace App {

// App.__ctbl, nil until built.
extern platform::ClassCache ctbl;
// App.__ctblinit
void ctblinit();
// App.__Lookup
const platform::ClassRecord& Lookup();

}
