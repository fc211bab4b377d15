#pragma once

// Private to the framework: menu items' shortcut text as Qt's key sequences.

#include <QKeySequence>

#include <string>
#include <string_view>

namespace platform {

// Reads "Cmd+Q", "Shift+Cmd+Z", "F5" and the like; "Cmd" and "Ctrl" are the platform's primary
// modifier, "Option" and "Alt" the alternate one. Empty text gives no shortcut. Raises an error
// naming where for text it cannot read.
QKeySequence shortcutFromText(std::string_view text, const std::string& where);

}
