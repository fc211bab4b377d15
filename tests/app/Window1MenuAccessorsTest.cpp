#include "MenuBar1.h"
#include "FrameworkTest.h"
#include "IllegalCastException.h"
#include "Invoker.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "MenuItems.h"
#include "NilObjectException.h"
#include "SignatureMismatchException.h"
#include "Window.h"
#include "Window1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace platform;

namespace {

using AccessorSig = Ref<Object>(Object&);

struct Accessor {
    std::size_t slot;
    const char* name;
    const char* text;
    bool quitItem;
    const char* before = nullptr; // for a separator: the items it lies between
    const char* after = nullptr;
};

const std::vector<Accessor> accessors {
    { Window1::SlotEditMenu, "EditMenu", "&Edit", false },
    { Window1::SlotEditSelectAll, "EditSelectAll", "Select &All", false },
    { Window1::SlotUntitledMenu0, "UntitledMenu0", "-", false, "EditClear", "EditSelectAll" },
    { Window1::SlotEditClear, "EditClear", "&Delete", false },
    { Window1::SlotEditPaste, "EditPaste", "&Paste", false },
    { Window1::SlotEditCopy, "EditCopy", "&Copy", false },
    { Window1::SlotEditCut, "EditCut", "Cu&t", false },
    { Window1::SlotUntitledMenu1, "UntitledMenu1", "-", false, "EditUndo", "EditCut" },
    { Window1::SlotEditUndo, "EditUndo", "&Undo", false },
    { Window1::SlotFileMenu, "FileMenu", "&File", false },
    { Window1::SlotFileQuit, "FileQuit", "&Quit", true },
};

std::string nameAt(const MenuItem& parent, std::ptrdiff_t i)
{
    const auto& children = parent.children();
    if (i < 0 || i >= static_cast<std::ptrdiff_t>(children.size()))
        return {};
    return children[static_cast<std::size_t>(i)]->name().toStdString();
}

class Window1MenuAccessorsTest : public testsupport::FrameworkTest {
protected:
    void releaseHeld() override { MenuBar1::implicitInstanceExit(); }

    // A practice sheet window with the application's menu bar, as its Layout handler gives it.
    static Ref<Object> windowWithMenuBar(const Ref<Object>& bar)
    {
        Ref<Object> w = RuntimeNewObject(Window1::Lookup());
        Window::MenuBarSet(*w, 0, bar);
        return w;
    }
};

// Guards: an accessor returning another item (the two separators swapped, Delete mistaken for
// Clear), FileQuit not a QuitMenuItem, or a call through reflection reaching something else.
TEST_F(Window1MenuAccessorsTest, EachAccessorReturnsTheItemBuiltUnderItsName)
{
    const Ref<Object> bar = MenuBar1::implicitInstance();
    const Ref<Object> w = windowWithMenuBar(bar);
    for (const Accessor& a : accessors) {
        const Ref<Object> item = w->record().callSlot<AccessorSig>(a.slot, *w);
        ASSERT_TRUE(item) << a.name;
        EXPECT_EQ(item, MenuItem::LookupNamed(*bar, a.name)) << a.name;
        const MenuItem& found = MenuItem::from(*item);
        EXPECT_EQ(found.name(), String(a.name));
        EXPECT_EQ(found.text(), String(a.text)) << a.name;
        EXPECT_EQ(item->isA(QuitMenuItem::Lookup()), a.quitItem) << a.name;
        if (a.before) {
            ASSERT_TRUE(found.isSeparator()) << a.name;
            const MenuItem& menu = *found.parentItem();
            const auto& children = menu.children();
            const std::ptrdiff_t at = std::find(children.begin(), children.end(), Ref<MenuItem>(&MenuItem::from(*item)))
                                      - children.begin();
            EXPECT_EQ(nameAt(menu, at - 1), a.before) << a.name;
            EXPECT_EQ(nameAt(menu, at + 1), a.after) << a.name;
        }
        EXPECT_EQ(std::get<Ref<Object>>(RuntimeInvokeMember(*w, a.name)), item) << a.name << " through reflection";
    }
    EXPECT_THROW(RuntimeInvokeMember(*w, "EditCopy", { Value(String("EditCut")) }), SignatureMismatchException);
}

// Guards: an accessor that builds or copies items, or keeps or leaks a reference on any way out.
TEST_F(Window1MenuAccessorsTest, AccessorsCreateNothingAndLeaveEveryCountWhereItWas)
{
    const Ref<Object> bar = MenuBar1::implicitInstance();
    const Ref<Object> w = windowWithMenuBar(bar);
    for (const Accessor& a : accessors) {
        const Ref<Object> item = MenuItem::LookupNamed(*bar, a.name);
        const int counts[] = { w->refCount(), bar->refCount(), item->refCount() };
        const long live = Object::liveInstances();
        {
            const Ref<Object> first = w->record().callSlot<AccessorSig>(a.slot, *w);
            const Ref<Object> second = w->record().callSlot<AccessorSig>(a.slot, *w);
            EXPECT_EQ(first, second) << a.name;
            EXPECT_EQ(item->refCount(), counts[2] + 2) << a.name << ": one reference per result";
        }
        EXPECT_EQ(Object::liveInstances(), live) << a.name;
        EXPECT_EQ(w->refCount(), counts[0]) << a.name;
        EXPECT_EQ(bar->refCount(), counts[1]) << a.name;
        EXPECT_EQ(item->refCount(), counts[2]) << a.name;
    }
}

// Guards: a window without a menu bar crashing an accessor, or the failure leaking a reference.
TEST_F(Window1MenuAccessorsTest, AWindowWithoutAMenuBarRaisesNilObject)
{
    const Ref<Object> w = RuntimeNewObject(Window1::Lookup());
    for (const Accessor& a : accessors) {
        const int count = w->refCount();
        EXPECT_THROW(w->record().callSlot<AccessorSig>(a.slot, *w), NilObjectException) << a.name;
        EXPECT_EQ(w->refCount(), count) << a.name;
    }
}

// Guards: a menu bar lacking an item, or holding one of another class, going unnoticed.
TEST_F(Window1MenuAccessorsTest, AMissingItemIsNilAndAnItemOfAnotherClassIsRefused)
{
    const Ref<Object> bar = RuntimeNewObject(MenuBar::Lookup());
    bar->record().callSlot<void(Object&)>(MenuItem::SlotConstructor, *bar);
    const Ref<Object> plain = testsupport::newItem("FileQuit");
    MenuItem::TextSet(*plain, 0, "&Quit");
    testsupport::append(bar, plain);
    const Ref<Object> w = windowWithMenuBar(bar);

    EXPECT_FALSE(w->record().callSlot<AccessorSig>(Window1::SlotEditCopy, *w));
    EXPECT_THROW(w->record().callSlot<AccessorSig>(Window1::SlotFileQuit, *w), IllegalCastException);
    EXPECT_EQ(w->record().callSlot<AccessorSig>(Window1::SlotFileMenu, *w), nullptr);
}

}
