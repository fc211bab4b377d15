#include "MenuBar1.h"

#include "Invoker.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "NoDestructor.h"

#include <span>

using platform::ClassRecord;
using platform::MenuItem;
using platform::Object;
using platform::Ref;
using platform::String;

namespace MenuBar1 {

platform::ClassCache ctbl;
namespace {
// Released by the program's shut-down while Qt is there, never by a static destructor.
platform::NoDestructor<Ref<Object>> implicitInstanceStorage;
}
Ref<Object>& _implicitInstance = *implicitInstanceStorage;

namespace {

// One row of a menu: what to create and what to set on it. A null shortcut means the row makes
// no shortcut call at all; an empty one sets the empty text. A null parent attaches the item to
// the menu bar itself, otherwise to the bar's top menu of that name.
struct ItemRow {
    const ClassRecord& (*record)();
    const char* name;
    const char* text;
    const char* shortcut;
    const char* parent;
};

constexpr ItemRow fileMenu[] = {
    { &MenuItem::Lookup, "FileMenu", "&File", "", nullptr },
    { &platform::QuitMenuItem::Lookup, "FileQuit", "&Quit", "Cmd+Q", "FileMenu" },
};

constexpr ItemRow editMenu[] = {
    { &MenuItem::Lookup, "EditMenu", "&Edit", "", nullptr },
    { &MenuItem::Lookup, "EditUndo", "&Undo", "Cmd+Z", "EditMenu" },
    { &MenuItem::Lookup, "UntitledMenu1", "-", nullptr, "EditMenu" },
    { &MenuItem::Lookup, "EditCut", "Cu&t", "Cmd+X", "EditMenu" },
    { &MenuItem::Lookup, "EditCopy", "&Copy", "Cmd+C", "EditMenu" },
    { &MenuItem::Lookup, "EditPaste", "&Paste", "Cmd+V", "EditMenu" },
    { &MenuItem::Lookup, "EditClear", "&Delete", "", "EditMenu" },
    { &MenuItem::Lookup, "UntitledMenu0", "-", nullptr, "EditMenu" },
    { &MenuItem::Lookup, "EditSelectAll", "Select &All", "Cmd+A", "EditMenu" },
};

// Builds one menu row by row. Every item is complete before it is attached, and an entry's top
// menu is found anew through the menu bar for each row, so a row that fails leaves the rows
// before it attached and builds nothing after it.
void buildMenu(Object& self, std::span<const ItemRow> rows)
{
    const Ref<Object> bar(&self);
    Ref<Object> current;
    for (const ItemRow& row : rows) {
        Ref<Object> created = platform::RuntimeNewObject(row.record());
        created->record().callSlot<void(Object&)>(MenuItem::SlotConstructor, *created);
        current = created;
        created = nullptr;
        MenuItem::NameSet(current.object(), 0, String(row.name));
        MenuItem::AutoEnableSet(current.object(), 0, true);
        MenuItem::TextSet(current.object(), 0, String(row.text));
        if (row.shortcut)
            MenuItem::KeyboardShortcutSet(current.object(), 0, String(row.shortcut));
        if (!row.parent) {
            bar->record().callSlot<void(Object&, const Ref<Object>&)>(MenuItem::SlotAppend, *bar, current);
            continue;
        }
        const Ref<Object> parent
            = bar->record().callSlot<Ref<Object>(Object&, const String&)>(MenuItem::SlotChild, *bar, String(row.parent));
        parent.object().record().callSlot<void(Object&, const Ref<Object>&)>(MenuItem::SlotAppend, *parent, current);
    }
}

void publish(ClassRecord& record, const char* name, void (*code)(Object&))
{
    platform::publishMember(record, name, "%%", platform::makeCode<void(Object&)>(code));
}

}

void ctblinit()
{
    ctbl.build(&platform::MenuBar::Lookup, "MenuBar1.MenuBar1", SlotCount, [](ClassRecord& r) {
        r.setSlot(SlotConstructor, "Constructor", platform::makeCode<void(Object&)>(&Constructor));
        r.declareSlots<platform::MenuBar::SlotCount, SlotCount>({
            { SlotUntitled0, "Untitled0", platform::makeCode<void(Object&)>(&Untitled0) },
            { SlotUntitled1, "Untitled1", platform::makeCode<void(Object&)>(&Untitled1) },
        });
        publish(r, "Untitled0", &Untitled0);
        publish(r, "Untitled1", &Untitled1);
        publish(r, "Constructor", &Constructor);
        r.attributes().push_back(platform::Attribute { String("__Scope"), String("Public") });
    });
}

const ClassRecord& Lookup()
{
    return ctbl.lookup(&ctblinit);
}

void Constructor(Object& self)
{
    const Ref<Object> bar(&self);
    bar->record().callSlot<void(Object&)>(SlotUntitled0, *bar);
    bar->record().callSlot<void(Object&)>(SlotUntitled1, *bar);
}

void Untitled0(Object& self)
{
    buildMenu(self, fileMenu);
}

void Untitled1(Object& self)
{
    buildMenu(self, editMenu);
}

Ref<Object> implicitInstance()
{
    if (!_implicitInstance) {
        // Stored only once built: a failed construction releases the half-built menu bar here.
        Ref<Object> created = platform::RuntimeNewObject(Lookup());
        created->record().callSlot<void(Object&)>(SlotConstructor, *created);
        _implicitInstance = created;
    }
    return _implicitInstance;
}

void implicitInstanceExit()
{
    _implicitInstance = nullptr;
}

}
