#include "TextField.h"

#include "ClassSchemas.h"
#include "PropertyTable.h"
#include "QtText.h"

#include <QLineEdit>

#include <limits>

namespace platform {

const ClassRecord& TextField::Lookup()
{
    static ClassCache cache;
    return cache.build(&TextEdit::Lookup, "TextField", RectControl::SlotCount, [](ClassRecord&) {}, &StorageMaker<TextField>::make);
}

TextField::TextField(const ClassRecord& record)
    : TextEdit(record, new QLineEdit)
{
}

namespace {

void setLimitText(Object& o, std::int32_t limit)
{
    // 0 is no limit, which is Qt's own default length.
    TextEdit::line(o).setMaxLength(limit > 0 ? limit : 32767);
}

}

const PropertyTable& TextField::properties()
{
    static const PropertyTable table(textFieldSchema, &TextEdit::properties(), {
        { "Password", [](Object& o, bool on) { line(o).setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal); },
          [](Object& o) { return line(o).echoMode() == QLineEdit::Password; } },
        { "CueText", [](Object& o, const String& text) { line(o).setPlaceholderText(toQString(text)); },
          [](Object& o) { return fromQString(line(o).placeholderText()); } },
        PropertyRow::kept("LimitText", PropertyRange { 0, std::numeric_limits<std::int32_t>::max() }, setLimitText),
    });
    return table;
}

}
