#include "TextField.h"

#include "ControlWidget.h"
#include "QtText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace platform {

struct TextFieldMaker {
    static Object* make(const ClassRecord& record) { return new TextField(record); }
};

namespace {

QLineEdit& line(Object& o)
{
    return controlWidget<TextField, QLineEdit>(o, "a TextField");
}

}

const ClassRecord& TextField::Lookup()
{
    static ClassCache cache;
    return cache.build(&TextEdit::Lookup, "TextField", RectControl::SlotCount, [](ClassRecord&) {}, &TextFieldMaker::make);
}

TextField::TextField(const ClassRecord& record)
    : TextEdit(record, new QLineEdit)
{
}

void TextField::MaskSet(Object& o, std::int32_t, const String& mask)
{
    // "#" admits one digit and anything else stands for itself. A validator rather than Qt's input
    // mask, so an empty field stays empty and shows no placeholder blanks.
    QLineEdit& field = line(o);
    if (mask.isEmpty()) {
        field.setValidator(nullptr);
    } else {
        QString pattern;
        for (QChar c : toQString(mask))
            pattern += c == u'#' ? QStringLiteral("[0-9]") : QRegularExpression::escape(QString(c));
        field.setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), &field));
    }
    field.setProperty("sumwiseMask", toQString(mask));
}

String TextField::MaskGet(Object& o)
{
    return fromQString(line(o).property("sumwiseMask").toString());
}

}
