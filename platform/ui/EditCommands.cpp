#include "EditCommands.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <optional>
#include <utility>

namespace platform {

namespace {

enum class EditCommand { Undo, Cut, Copy, Paste, Clear, SelectAll };

std::optional<EditCommand> editCommandNamed(std::string_view name)
{
    static constexpr std::pair<std::string_view, EditCommand> commands[] = {
        { "EditUndo", EditCommand::Undo }, { "EditCut", EditCommand::Cut }, { "EditCopy", EditCommand::Copy },
        { "EditPaste", EditCommand::Paste }, { "EditClear", EditCommand::Clear }, { "EditSelectAll", EditCommand::SelectAll },
    };
    for (const auto& [commandName, command] : commands) {
        if (commandName == name)
            return command;
    }
    return std::nullopt;
}

// The text field the user is typing in; while a menu is open it is still the window's focus.
QWidget* focusedTextField()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    QWidget* focus = QApplication::focusWidget();
    if ((!focus || qobject_cast<QMenu*>(focus) || qobject_cast<QMenuBar*>(focus)) && QApplication::activeWindow())
        focus = QApplication::activeWindow()->focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focus))
        return combo->lineEdit();
    if (qobject_cast<QAbstractSpinBox*>(focus))
        return focus->findChild<QLineEdit*>();
    return focus;
}

bool clipboardHasText()
{
    return !QGuiApplication::clipboard()->text().isEmpty();
}

bool applies(EditCommand command, const QLineEdit& field)
{
    const bool editable = !field.isReadOnly();
    const bool selected = field.hasSelectedText();
    // A password field never hands its text to the clipboard.
    const bool readable = field.echoMode() == QLineEdit::Normal;
    switch (command) {
    case EditCommand::Undo:
        return editable && field.isUndoAvailable();
    case EditCommand::Cut:
        return editable && selected && readable;
    case EditCommand::Copy:
        return selected && readable;
    case EditCommand::Paste:
        return editable && clipboardHasText();
    case EditCommand::Clear:
        return editable && selected;
    case EditCommand::SelectAll:
        return !field.text().isEmpty() && field.selectedText() != field.text();
    }
    return false;
}

// Every kind of field undoes, cuts, copies, pastes and selects all alike; only deleting the
// selection differs, and the caller says how.
template<class Edit, class Clear>
void perform(EditCommand command, Edit& field, Clear clear)
{
    switch (command) {
    case EditCommand::Undo:
        return field.undo();
    case EditCommand::Cut:
        return field.cut();
    case EditCommand::Copy:
        return field.copy();
    case EditCommand::Paste:
        return field.paste();
    case EditCommand::Clear:
        return clear(field);
    case EditCommand::SelectAll:
        return field.selectAll();
    }
}

void run(EditCommand command, QLineEdit& field)
{
    perform(command, field, [](QLineEdit& f) { f.del(); });
}

template<class Edit>
bool applies(EditCommand command, const Edit& field)
{
    const bool editable = !field.isReadOnly();
    const bool selected = field.textCursor().hasSelection();
    switch (command) {
    case EditCommand::Undo:
        return editable && field.document()->isUndoAvailable();
    case EditCommand::Cut:
        return editable && selected;
    case EditCommand::Copy:
        return selected;
    case EditCommand::Paste:
        return editable && field.canPaste();
    case EditCommand::Clear:
        return editable && selected;
    case EditCommand::SelectAll:
        return !field.document()->isEmpty();
    }
    return false;
}

template<class Edit>
void run(EditCommand command, Edit& field)
{
    perform(command, field, [](Edit& f) {
        QTextCursor cursor = f.textCursor();
        cursor.removeSelectedText();
        f.setTextCursor(cursor);
    });
}

// Whether the command applies to focus when it is a Field, running it if asked; nothing when it is not one.
template<class Field>
std::optional<bool> onField(QWidget* focus, EditCommand command, bool perform)
{
    auto* field = qobject_cast<Field*>(focus);
    if (!field)
        return std::nullopt;
    const bool can = applies(command, *field);
    if (can && perform)
        run(command, *field);
    return can;
}

// Runs the command on the focused field when it can act there; false otherwise.
bool onFocusedField(EditCommand command, bool perform)
{
    QWidget* focus = focusedTextField();
    for (const auto attempt : { onField<QLineEdit>, onField<QTextEdit>, onField<QPlainTextEdit> })
        if (const std::optional<bool> can = attempt(focus, command, perform))
            return *can;
    return false;
}

}

std::optional<bool> editCommandApplies(std::string_view itemName)
{
    const std::optional<EditCommand> command = editCommandNamed(itemName);
    if (!command)
        return std::nullopt;
    return onFocusedField(*command, false);
}

bool performEditCommand(std::string_view itemName)
{
    const std::optional<EditCommand> command = editCommandNamed(itemName);
    return command && onFocusedField(*command, true);
}

}
