#include "KeyboardShortcut.h"

#include "RuntimeException.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

namespace {

struct ShortcutCase {
    const char* text;
    QKeySequence expected;
};

class ShortcutText : public ::testing::TestWithParam<ShortcutCase> {};

// Guards: "Cmd+" not mapped to the platform's primary modifier, or other notations misread.
TEST_P(ShortcutText, ReadsAsTheKeyItNames)
{
    EXPECT_EQ(shortcutFromText(GetParam().text, "test"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ShortcutText,
                         ::testing::Values(ShortcutCase { "", {} }, ShortcutCase { "Cmd+Q", QKeySequence(Qt::CTRL | Qt::Key_Q) },
                                           ShortcutCase { "cmd+a", QKeySequence(Qt::CTRL | Qt::Key_A) },
                                           ShortcutCase { "Shift+Cmd+Z", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) },
                                           ShortcutCase { "Option+X", QKeySequence(Qt::ALT | Qt::Key_X) },
                                           ShortcutCase { "Ctrl+Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete) },
                                           ShortcutCase { "Cmd++", QKeySequence(Qt::CTRL | Qt::Key_Plus) },
                                           ShortcutCase { "+", QKeySequence(Qt::Key_Plus) },
                                           ShortcutCase { "F5", QKeySequence(Qt::Key_F5) }));

class BadShortcutText : public ::testing::TestWithParam<const char*> {};

// Guards: unreadable shortcut text accepted and silently giving no shortcut.
TEST_P(BadShortcutText, IsRefusedWithItsText)
{
    try {
        shortcutFromText(GetParam(), "menu item \"X\"");
        FAIL() << "accepted";
    } catch (const RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam()), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("menu item \"X\""), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BadShortcutText,
                         ::testing::Values("Cmd+", "Hyper+Q", "Cmd+NotAKey", "+Q", "Cmd+Shift", "Cmd++Q"));

}
