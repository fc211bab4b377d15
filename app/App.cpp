#include "App.h"

#include "Application.h"

namespace App {

using namespace platform;

ClassCache ctbl;

void ctblinit()
{
    if (ctbl)
        return;
    const ClassRecord& base = Application::Lookup();
    ctbl = RuntimeNewClass(&base);
    ctbl->setName("App");
    RuntimeNewVtable(*ctbl, Application::SlotCount);
    for (std::size_t i = 0; i < Application::SlotCount; ++i)
        ctbl->setSlot(i, base.slot(i).name, base.slot(i).code);
}

const ClassRecord& Lookup()
{
    if (!ctbl)
        ctblinit();
    return *ctbl;
}

}
