#pragma once

#include "Graphics.h"
#include "Ref.h"
#include "String.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A page that draws nothing and records every call, with metrics the test chooses, so that
// exact geometry can be asserted.
class RecordingGraphics final : public platform::Graphics {
public:
    enum class Kind { TextSizeGet, TextSizeSet, BoldGet, BoldSet, TextAscent, StringWidth, Width, Height, DrawString, DrawLine,
                      NextPage };

    struct Metrics {
        std::int32_t width = 600;
        std::int32_t height = 800;
        float textSize = 12.0f; // the page's state on entry
        bool bold = false;
        // TextAscent for each (size, bold) pair; a pair not listed goes to ascentOf, and with
        // no ascentOf it throws, so a question asked in the wrong state shows.
        std::map<std::pair<float, bool>, std::int32_t> ascents;
        std::function<std::int32_t(float size, bool bold)> ascentOf;
        double charWidth = 6.0; // StringWidth: this for each character (code point)
    };

    struct Call {
        Kind kind;
        std::string text {}; // StringWidth, DrawString
        // DrawString: x, y (the baseline) and the wrap width in x1, y1, x2; DrawLine: its ends.
        std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        bool condense = false; // DrawString
        float size = 0;        // the text state once the call was made
        bool bold = false;
    };

    static platform::Ref<RecordingGraphics> make(Metrics m)
    {
        return platform::Ref<RecordingGraphics>(new RecordingGraphics(std::move(m)));
    }
    static platform::Ref<RecordingGraphics> make() { return make(Metrics {}); }

    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> callsOf(Kind kind) const
    {
        std::vector<Call> found;
        std::ranges::copy_if(m_calls, std::back_inserter(found), [kind](const Call& c) { return c.kind == kind; });
        return found;
    }
    std::size_t count(Kind kind) const { return callsOf(kind).size(); }

    float TextSize() const override { record({ Kind::TextSizeGet }); return m_size; }
    void SetTextSize(float size) override { m_size = size; record({ Kind::TextSizeSet }); }
    bool Bold() const override { record({ Kind::BoldGet }); return m_bold; }
    void SetBold(bool bold) override { m_bold = bold; record({ Kind::BoldSet }); }
    std::int32_t Width() override { record({ Kind::Width }); return m_metrics.width; }
    std::int32_t Height() override { record({ Kind::Height }); return m_metrics.height; }
    void NextPage() override { record({ Kind::NextPage }); }
    std::int32_t TextAscent() override
    {
        record({ Kind::TextAscent });
        if (auto it = m_metrics.ascents.find({ m_size, m_bold }); it != m_metrics.ascents.end())
            return it->second;
        if (!m_metrics.ascentOf)
            throw std::out_of_range("no ascent for size " + std::to_string(m_size) + (m_bold ? " bold" : ""));
        return m_metrics.ascentOf(m_size, m_bold);
    }
    // Counts UTF-8 lead bytes, so "×" is one character like "x".
    double StringWidth(const platform::String& text) override
    {
        const std::string& s = record({ Kind::StringWidth, text.toStdString() }).text;
        return m_metrics.charWidth * static_cast<double>(std::ranges::count_if(s, [](char b) { return (b & 0xC0) != 0x80; }));
    }
    void DrawString(const platform::String& text, std::int32_t x, std::int32_t y, std::int32_t wrapWidth, bool condense) override
    {
        record({ Kind::DrawString, text.toStdString(), x, y, wrapWidth, 0, condense });
    }
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override
    {
        record({ Kind::DrawLine, {}, x1, y1, x2, y2 });
    }

private:
    explicit RecordingGraphics(Metrics m) : Graphics(Graphics::Lookup()), m_metrics(std::move(m)) {}
    // The getters are const in the interface but are recorded all the same.
    Call& record(Call c) const { c.size = m_size; c.bold = m_bold; return m_calls.emplace_back(std::move(c)); }

    Metrics m_metrics;
    float m_size = m_metrics.textSize; // the text state now, from the page's state on entry
    bool m_bold = m_metrics.bold;
    mutable std::vector<Call> m_calls;
};

inline std::ostream& operator<<(std::ostream& out, RecordingGraphics::Kind kind)
{
    static constexpr const char* names[] { "TextSize.Get", "TextSize.Set", "Bold.Get", "Bold.Set", "TextAscent", "StringWidth",
                                           "Width", "Height", "DrawString", "DrawLine", "NextPage" };
    return out << names[static_cast<int>(kind)];
}

}
