#include "App.h"

#include "Application.h"

namespace App {

using namespace platform;

ClassCache ctbl;

void ctblinit()
{
    // Application's operations, none overridden and none added.
    ctbl.build(&Application::Lookup, "App", Application::SlotCount, [](ClassRecord&) {});
}

const ClassRecord& Lookup()
{
    return ctbl.lookup(&ctblinit);
}

}
