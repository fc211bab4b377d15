#include "AddControl.h"
#include "Control.h"
#include "PopupMenu.h"
#include "PushButton.h"
#include "RectControl.h"
#include "RuntimeException.h"
#include "StaticText.h"
#include "TextField.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform;

namespace {

// The window, and with it every widget, is gone once this returns; only the control is held.
Ref<Object> orphanedControl(const ClassRecord& record)
{
    return testsupport::addControl(RuntimeNewObject(Window::Lookup()), record, "Held");
}

// Guards: a control held after its window died reaching through a dangling widget pointer; every
// use must say what is wrong instead.
TEST(ControlAfterWindow, UsesRaiseAClearErrorInsteadOfTouchingAGoneWidget)
{
    struct Use {
        const ClassRecord& (*record)();
        std::function<void(Object&)> use;
    };
    const std::vector<Use> uses {
        { &TextField::Lookup, [](Object& c) { TextField::TextGet(c); } },
        { &TextField::Lookup, [](Object& c) { TextField::TextSet(c, 0, "5"); } },
        { &TextField::Lookup, [](Object& c) { TextField::MaskSet(c, 0, "#"); } },
        { &PushButton::Lookup, [](Object& c) { static_cast<PushButton&>(c).press(); } },
        { &PushButton::Lookup, [](Object& c) { PushButton::CaptionSet(c, 0, "Print!"); } },
        { &StaticText::Lookup, [](Object& c) { StaticText::TextGet(c); } },
        { &PopupMenu::Lookup, [](Object& c) { PopupMenu::TextGet(c); } },
        { &PopupMenu::Lookup, [](Object& c) { RectControl::SetFocus(c); } },
        { &PopupMenu::Lookup, [](Object& c) { RectControl::TextSizeSet(c, 0, 12.0f); } },
    };
    for (std::size_t i = 0; i < uses.size(); ++i) {
        Ref<Object> control = orphanedControl(uses[i].record());
        EXPECT_TRUE(Control::WindowGet(*control).isNil()) << "use " << i;
        EXPECT_THROW(uses[i].use(*control), RuntimeException) << "use " << i;
    }
}

}
