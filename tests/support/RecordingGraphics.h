#pragma once

#include "Graphics.h"
#include "Ref.h"
#include "String.h"

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A page that draws nothing and records every call, with metrics the test chooses, so that
// exact geometry can be asserted.
class RecordingGraphics final : public platform::Graphics {
public:
    enum class Kind { TextSizeGet, TextSizeSet, BoldGet, BoldSet, TextAscent, StringWidth, Width, Height, DrawString, DrawLine, NextPage };

    struct Metrics {
        std::int32_t width = 600;
        std::int32_t height = 800;
        float textSize = 12.0f; // the page's state on entry
        bool bold = false;
        // TextAscent for each (size, bold) pair; a pair not listed goes to ascentOf, and with
        // no ascentOf it throws, so a question asked in the wrong state shows.
        std::map<std::pair<float, bool>, std::int32_t> ascents;
        std::function<std::int32_t(float size, bool bold)> ascentOf;
        // StringWidth: widthOf when given, otherwise charWidth for each character (code point).
        double charWidth = 6.0;
        std::function<double(const std::string& text, float size, bool bold)> widthOf;
    };

    struct Call {
        Kind kind = Kind::NextPage;
        std::string text;      // StringWidth, DrawString
        std::int32_t x1 = 0;   // DrawString: x; DrawLine: x1
        std::int32_t y1 = 0;   // DrawString: y (the baseline); DrawLine: y1
        std::int32_t x2 = 0;   // DrawString: the wrap width; DrawLine: x2
        std::int32_t y2 = 0;   // DrawLine: y2
        bool condense = false; // DrawString
        double value = 0;      // what a query answered, or what a setter was given
        float size = 0;        // the text state once the call was made
        bool bold = false;

        bool operator==(const Call&) const = default;
    };

    static platform::Ref<RecordingGraphics> make(Metrics metrics);
    static platform::Ref<RecordingGraphics> make() { return make(Metrics {}); }

    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> callsOf(Kind kind) const;
    std::size_t count(Kind kind) const;
    void clear() { m_calls.clear(); }

    float TextSize() const override;
    void SetTextSize(float size) override;
    bool Bold() const override;
    void SetBold(bool bold) override;
    std::int32_t TextAscent() override;
    double StringWidth(const platform::String& text) override;
    std::int32_t Width() override;
    std::int32_t Height() override;
    void DrawString(const platform::String& text, std::int32_t x, std::int32_t y, std::int32_t wrapWidth, bool condense) override;
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void NextPage() override;

private:
    explicit RecordingGraphics(Metrics metrics);
    Call& record(Kind kind, double value = 0) const;

    Metrics m_metrics;
    float m_size;
    bool m_bold;
    // The getters are const in the interface but are recorded all the same.
    mutable std::vector<Call> m_calls;
};

const char* kindName(RecordingGraphics::Kind kind);
std::ostream& operator<<(std::ostream& out, RecordingGraphics::Kind kind);
std::ostream& operator<<(std::ostream& out, const RecordingGraphics::Call& call);

}
