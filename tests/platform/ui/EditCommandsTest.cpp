#include "EditCommands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <string>

using namespace platform;

namespace {

// The commands act on the focus widget of the active window.
void showFocused(QMainWindow& window, QWidget* field)
{
    window.setCentralWidget(field);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
}

struct FieldCase {
    const char* name;
    std::function<QWidget*(QWidget* parent)> make; // text "abc", nothing selected
    std::function<void(QWidget*)> selectAll;
    std::function<QString(QWidget*)> text;
};

class EditCommandsOn : public ::testing::TestWithParam<FieldCase> {};

// Guards: the Edit commands working on one kind of text field only.
TEST_P(EditCommandsOn, EveryKindOfTextField)
{
    QMainWindow window;
    QWidget* field = GetParam().make(&window);
    ASSERT_NO_FATAL_FAILURE(showFocused(window, field));
    QApplication::clipboard()->clear();
    for (const char* command : { "EditCut", "EditCopy", "EditPaste" })
        EXPECT_EQ(editCommandApplies(command), false) << command;
    EXPECT_EQ(editCommandApplies("EditSelectAll"), true);
    EXPECT_EQ(editCommandApplies("FileQuit"), std::nullopt);
    EXPECT_TRUE(performEditCommand("EditSelectAll"));
    EXPECT_TRUE(performEditCommand("EditCut"));
    EXPECT_EQ(GetParam().text(field), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    EXPECT_TRUE(performEditCommand("EditPaste"));
    EXPECT_TRUE(performEditCommand("EditPaste"));
    EXPECT_EQ(GetParam().text(field), "abcabc");
    GetParam().selectAll(field);
    EXPECT_TRUE(performEditCommand("EditClear"));
    EXPECT_EQ(GetParam().text(field), "");
    EXPECT_TRUE(performEditCommand("EditUndo"));
    EXPECT_EQ(GetParam().text(field), "abcabc");
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditCommandsOn,
    ::testing::Values(
        FieldCase { "LineEdit", [](QWidget* p) -> QWidget* { return new QLineEdit("abc", p); },
                    [](QWidget* w) { static_cast<QLineEdit*>(w)->selectAll(); },
                    [](QWidget* w) { return static_cast<QLineEdit*>(w)->text(); } },
        FieldCase { "TextEdit", [](QWidget* p) -> QWidget* { return new QTextEdit("abc", p); },
                    [](QWidget* w) { static_cast<QTextEdit*>(w)->selectAll(); },
                    [](QWidget* w) { return static_cast<QTextEdit*>(w)->toPlainText(); } },
        FieldCase { "PlainTextEdit", [](QWidget* p) -> QWidget* { return new QPlainTextEdit("abc", p); },
                    [](QWidget* w) { static_cast<QPlainTextEdit*>(w)->selectAll(); },
                    [](QWidget* w) { return static_cast<QPlainTextEdit*>(w)->toPlainText(); } }),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::function<void(QLineEdit&)> prepare;
    const char* command;
};

class EditCommandsRefuse : public ::testing::TestWithParam<RefusalCase> {};

// Guards: editing a read-only field, or handing a password to the clipboard.
TEST_P(EditCommandsRefuse, WhatTheFieldForbids)
{
    QMainWindow window;
    auto* field = new QLineEdit("secret", &window);
    ASSERT_NO_FATAL_FAILURE(showFocused(window, field));
    QApplication::clipboard()->setText("x");
    GetParam().prepare(*field);
    field->selectAll();
    EXPECT_EQ(editCommandApplies(GetParam().command), false);
    EXPECT_FALSE(performEditCommand(GetParam().command));
    EXPECT_EQ(field->text(), "secret");
    EXPECT_EQ(QApplication::clipboard()->text(), "x");
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditCommandsRefuse,
    ::testing::Values(RefusalCase { "ReadOnlyCut", [](QLineEdit& f) { f.setReadOnly(true); }, "EditCut" },
                      RefusalCase { "ReadOnlyPaste", [](QLineEdit& f) { f.setReadOnly(true); }, "EditPaste" },
                      RefusalCase { "ReadOnlyDelete", [](QLineEdit& f) { f.setReadOnly(true); }, "EditClear" },
                      RefusalCase { "PasswordCopy", [](QLineEdit& f) { f.setEchoMode(QLineEdit::Password); }, "EditCopy" },
                      RefusalCase { "PasswordCut", [](QLineEdit& f) { f.setEchoMode(QLineEdit::Password); }, "EditCut" },
                      RefusalCase { "NothingToUndo", [](QLineEdit&) {}, "EditUndo" }),
    [](const auto& info) { return std::string(info.param.name); });

}
