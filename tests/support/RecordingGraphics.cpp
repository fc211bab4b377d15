#include "RecordingGraphics.h"

#include <algorithm>
#include <stdexcept>

namespace testsupport {

platform::Ref<RecordingGraphics> RecordingGraphics::make(Metrics metrics)
{
    return platform::Ref<RecordingGraphics>(new RecordingGraphics(std::move(metrics)));
}

RecordingGraphics::RecordingGraphics(Metrics metrics)
    : Graphics(Graphics::Lookup())
    , m_metrics(std::move(metrics))
    , m_size(m_metrics.textSize)
    , m_bold(m_metrics.bold)
{
}

RecordingGraphics::Call& RecordingGraphics::record(Kind kind, double value) const
{
    Call& call = m_calls.emplace_back();
    call.kind = kind;
    call.value = value;
    call.size = m_size;
    call.bold = m_bold;
    return call;
}

std::vector<RecordingGraphics::Call> RecordingGraphics::callsOf(Kind kind) const
{
    std::vector<Call> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found), [kind](const Call& c) { return c.kind == kind; });
    return found;
}

std::size_t RecordingGraphics::count(Kind kind) const
{
    return static_cast<std::size_t>(std::count_if(m_calls.begin(), m_calls.end(), [kind](const Call& c) { return c.kind == kind; }));
}

float RecordingGraphics::TextSize() const
{
    record(Kind::TextSizeGet, m_size);
    return m_size;
}

void RecordingGraphics::SetTextSize(float size)
{
    m_size = size;
    record(Kind::TextSizeSet, size);
}

bool RecordingGraphics::Bold() const
{
    record(Kind::BoldGet, m_bold);
    return m_bold;
}

void RecordingGraphics::SetBold(bool bold)
{
    m_bold = bold;
    record(Kind::BoldSet, bold);
}

std::int32_t RecordingGraphics::TextAscent()
{
    std::int32_t ascent;
    if (auto it = m_metrics.ascents.find({ m_size, m_bold }); it != m_metrics.ascents.end())
        ascent = it->second;
    else if (m_metrics.ascentOf)
        ascent = m_metrics.ascentOf(m_size, m_bold);
    else
        throw std::out_of_range("RecordingGraphics: no ascent given for size " + std::to_string(m_size)
                                + (m_bold ? " bold" : " not bold"));
    record(Kind::TextAscent, ascent);
    return ascent;
}

double RecordingGraphics::StringWidth(const platform::String& text)
{
    const std::string bytes = text.toStdString();
    double width;
    if (m_metrics.widthOf) {
        width = m_metrics.widthOf(bytes, m_size, m_bold);
    } else {
        // Counts UTF-8 lead bytes, so "×" is one character like "x".
        const auto characters = std::count_if(bytes.begin(), bytes.end(), [](char b) { return (b & 0xC0) != 0x80; });
        width = m_metrics.charWidth * static_cast<double>(characters);
    }
    record(Kind::StringWidth, width).text = bytes;
    return width;
}

std::int32_t RecordingGraphics::Width()
{
    record(Kind::Width, m_metrics.width);
    return m_metrics.width;
}

std::int32_t RecordingGraphics::Height()
{
    record(Kind::Height, m_metrics.height);
    return m_metrics.height;
}

void RecordingGraphics::DrawString(const platform::String& text, std::int32_t x, std::int32_t y, std::int32_t wrapWidth, bool condense)
{
    Call& call = record(Kind::DrawString);
    call.text = text.toStdString();
    call.x1 = x;
    call.y1 = y;
    call.x2 = wrapWidth;
    call.condense = condense;
}

void RecordingGraphics::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    Call& call = record(Kind::DrawLine);
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
}

void RecordingGraphics::NextPage()
{
    record(Kind::NextPage);
}

const char* kindName(RecordingGraphics::Kind kind)
{
    using K = RecordingGraphics::Kind;
    switch (kind) {
    case K::TextSizeGet: return "TextSize.Get";
    case K::TextSizeSet: return "TextSize.Set";
    case K::BoldGet: return "Bold.Get";
    case K::BoldSet: return "Bold.Set";
    case K::TextAscent: return "TextAscent";
    case K::StringWidth: return "StringWidth";
    case K::Width: return "Width";
    case K::Height: return "Height";
    case K::DrawString: return "DrawString";
    case K::DrawLine: return "DrawLine";
    case K::NextPage: return "NextPage";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, RecordingGraphics::Kind kind)
{
    return out << kindName(kind);
}

std::ostream& operator<<(std::ostream& out, const RecordingGraphics::Call& call)
{
    using K = RecordingGraphics::Kind;
    out << call.kind;
    switch (call.kind) {
    case K::DrawString:
        out << "(\"" << call.text << "\", " << call.x1 << ", " << call.y1 << ", " << call.x2 << ", "
            << (call.condense ? "True" : "False") << ")";
        break;
    case K::DrawLine:
        out << "(" << call.x1 << ", " << call.y1 << ", " << call.x2 << ", " << call.y2 << ")";
        break;
    case K::StringWidth:
        out << "(\"" << call.text << "\") = " << call.value;
        break;
    case K::NextPage:
        break;
    default:
        out << " " << call.value;
    }
    return out << " [size " << call.size << (call.bold ? ", bold]" : "]");
}

}
