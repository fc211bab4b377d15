#include "platform/TextEdit.h"

#include "platform/IllegalCastException.h"
#include "platform/QtText.h"

#include <QLineEdit>
#include <QTextEdit>

namespace platform {

const ClassRecord& TextEdit::Lookup()
{
    static const ClassRecord* record = makeRecord("TextEdit", RectControl::Lookup(), {});
    return *record;
}

namespace {

TextEdit& edit(Object& o)
{
    auto* e = dynamic_cast<TextEdit*>(&o);
    if (!e)
        throw IllegalCastException("an object of class " + o.record().name().toStdString() + " is not a TextEdit");
    return *e;
}

}

String TextEdit::TextGet(Object& o)
{
    QWidget* w = edit(o).widget();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return fromQString(line->text());
    if (auto* area = qobject_cast<QTextEdit*>(w))
        return fromQString(area->toPlainText());
    return String();
}

void TextEdit::TextSet(Object& o, std::int32_t, const String& text)
{
    QWidget* w = edit(o).widget();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(toQString(text));
    else if (auto* area = qobject_cast<QTextEdit*>(w))
        area->setPlainText(toQString(text));
}

}
