#include "TextEdit.h"

#include "ClassSchemas.h"
#include "ControlWidget.h"
#include "HorizontalAlignment.h"
#include "PropertyTable.h"
#include "QtColor.h"
#include "QtText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace platform {

const ClassRecord& TextEdit::Lookup()
{
    static ClassCache cache;
    return cache.build(&RectControl::Lookup, "TextEdit", RectControl::SlotCount, [](ClassRecord&) {}, {});
}

QLineEdit& TextEdit::line(Object& o)
{
    return controlWidget<TextEdit, QLineEdit>(o, "a TextEdit");
}

String TextEdit::TextGet(Object& o)
{
    return fromQString(line(o).text());
}

void TextEdit::TextSet(Object& o, std::int32_t, const String& text)
{
    line(o).setText(toQString(text));
}

void TextEdit::MaskSet(Object& o, std::int32_t, const String& mask)
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
}

namespace {

void setAlignment(Object& o, std::int32_t number)
{
    TextEdit::line(o).setAlignment(qtAlignment(alignmentNumbering.alignment(number)) | Qt::AlignVCenter);
}

}

const PropertyTable& TextEdit::properties()
{
    static const PropertyTable table(textEditSchema, &RectControl::properties(), {
        PropertyRow::kept("Format"),
        { "Text", &TextEdit::TextSet, &TextEdit::TextGet },
        // Kept, as the validator cannot give the mask back; a field with none has the empty mask.
        PropertyRow::kept("Mask", &TextEdit::MaskSet,
                          [](Object& o) { return Control::from(o).propertyStore().valueOr("Mask", String()); }),
        PropertyRow::kept("DataSource"),
        PropertyRow::kept("DataField"),
        { "Border", [](Object& o, bool on) { line(o).setFrame(on); },
          [](Object& o) { return line(o).hasFrame(); } },
        PropertyRow::kept("UseFocusRing"),
        { "ReadOnly", [](Object& o, bool on) { line(o).setReadOnly(on); },
          [](Object& o) { return line(o).isReadOnly(); } },
        PropertyRow::kept("AcceptTabs"),
        { "TextColor", setControlColor<QPalette::Text>, controlColor<QPalette::Text> },
        { "BackColor", setControlColor<QPalette::Base>, controlColor<QPalette::Base> },
        // 0 and 1 both align left on screen; the store keeps which one was set.
        PropertyRow::kept("Alignment", alignmentNumbering.range(), setAlignment),
    }, textStyleRows());
    return table;
}

}
