#pragma once

// Private to the framework: the editing commands menu items stand for.

#include <optional>
#include <string_view>

namespace platform {

// The framework's editing commands, known by the item names "EditUndo", "EditCut", "EditCopy",
// "EditPaste", "EditClear" and "EditSelectAll", act on the text field that has the keyboard focus.
// Empty for any other name; otherwise whether the command can act now.
std::optional<bool> editCommandApplies(std::string_view itemName);
// Runs the command when it can act; false when the name is not a command or it cannot act now.
bool performEditCommand(std::string_view itemName);

}
