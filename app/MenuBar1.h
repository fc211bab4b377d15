#pragma once

#include "ClassRecord.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "Object.h"
#include "Ref.h"

#include <cstddef>

// The application's one menu bar, "MenuBar1.MenuBar1": a MenuBar whose constructor builds the File
// menu, then the Edit menu. Only the implicit-instance accessor creates it, once.
namespace MenuBar1 {

// MenuBar's slots, MenuItem's Constructor replaced by the bar's own, then the two menu builders.
constexpr std::size_t SlotConstructor = platform::MenuItem::SlotConstructor;
enum Slot : std::size_t { SlotUntitled0 = platform::MenuBar::SlotCount, SlotUntitled1, SlotCount };

// The class record, "MenuBar1.MenuBar1.__ctbl"; nil until ctblinit builds it.
extern platform::ClassCache ctbl;
// The one menu bar, "MenuBar1._implicitInstance"; nil until first asked for and after implicitInstanceExit.
extern platform::Ref<platform::Object>& _implicitInstance;

void ctblinit();
const platform::ClassRecord& Lookup();

// The record's own operations, each taking the menu bar.
void Constructor(platform::Object& self);
void Untitled0(platform::Object& self);
void Untitled1(platform::Object& self);

// "MenuBar1.MenuBar1%o<MenuBar1.MenuBar1>%": the one menu bar, built on first use, as a new reference.
platform::Ref<platform::Object> implicitInstance();
// "MenuBar1._implicitInstance.__Exit": lets go of the menu bar at shut-down.
void implicitInstanceExit();

}
