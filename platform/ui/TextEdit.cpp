#include "TextEdit.h"

#include "ControlWidget.h"
#include "QtText.h"

#include <QLineEdit>

namespace platform {

const ClassRecord& TextEdit::Lookup()
{
    static ClassCache cache;
    return cache.build(&RectControl::Lookup, "TextEdit", RectControl::SlotCount, [](ClassRecord&) {}, {});
}

namespace {

// The one kind of editable text this framework shows is a single line.
QLineEdit& line(Object& o)
{
    return controlWidget<TextEdit, QLineEdit>(o, "a TextEdit");
}

}

String TextEdit::TextGet(Object& o)
{
    return fromQString(line(o).text());
}

void TextEdit::TextSet(Object& o, std::int32_t, const String& text)
{
    line(o).setText(toQString(text));
}

}
