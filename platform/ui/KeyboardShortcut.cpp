#include "KeyboardShortcut.h"

#include "QtText.h"
#include "RuntimeException.h"

#include <QString>

#include <algorithm>
#include <cctype>

namespace platform {

QKeySequence shortcutFromText(std::string_view text, const std::string& where)
{
    if (text.empty())
        return {};
    auto fail = [&](const std::string& why) {
        return RuntimeException("keyboard shortcut \"" + std::string(text) + "\" of " + where + ": " + why);
    };
    std::string_view key = text;
    std::string_view modifierText;
    // The plus key itself is written "+" or "Cmd++".
    if (text.size() >= 2 && text.ends_with("++")) {
        key = "+";
        modifierText = text.substr(0, text.size() - 2);
    } else if (const std::size_t plus = text.rfind('+'); plus != std::string_view::npos && text != "+") {
        key = text.substr(plus + 1);
        modifierText = text.substr(0, plus);
        if (key.empty())
            throw fail("no key after the last \"+\"");
    }
    Qt::KeyboardModifiers modifiers;
    if (key != text) {
        std::size_t start = 0;
        while (start <= modifierText.size()) {
            const std::size_t end = std::min(modifierText.find('+', start), modifierText.size());
            std::string name(modifierText.substr(start, end - start));
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            if (name == "cmd" || name == "command" || name == "ctrl" || name == "control")
                modifiers |= Qt::ControlModifier;
            else if (name == "shift")
                modifiers |= Qt::ShiftModifier;
            else if (name == "alt" || name == "option" || name == "opt")
                modifiers |= Qt::AltModifier;
            else if (name == "meta")
                modifiers |= Qt::MetaModifier;
            else
                throw fail("unknown modifier \"" + name + "\"");
            start = end + 1;
        }
    }
    const QKeySequence parsed = QKeySequence::fromString(
        toQString(key), QKeySequence::PortableText);
    if (parsed.count() != 1 || parsed[0].key() == Qt::Key_unknown || parsed[0].keyboardModifiers() != Qt::NoModifier)
        throw fail("unknown key \"" + std::string(key) + "\"");
    const Qt::Key named = parsed[0].key();
    if (named == Qt::Key_Shift || named == Qt::Key_Control || named == Qt::Key_Alt || named == Qt::Key_Meta)
        throw fail("a modifier with no key");
    return QKeySequence(QKeyCombination(modifiers, parsed[0].key()));
}

}
