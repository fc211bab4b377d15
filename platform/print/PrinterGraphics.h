#pragma once

#include "Graphics.h"
#include "Ref.h"
#include "String.h"
#include "TextSize.h"

#include <cstdint>
#include <memory>

class QPrinter;

namespace platform {

// A printed page: paints with QPainter on a QPrinter that it owns, from the start of the job to
// its end, which comes when the last reference goes.
//
// Page units are points, 72 to the inch: the printer's resolution is set to 72, so device units,
// text sizes and pen widths are all points and the text sizes of a program fit the page as on
// paper. The drawable area is the printer's printable area, (0, 0) at its top left. A new page
// has the font "Arial" (fontconfig gives the metric-compatible Liberation Sans) at 12 points,
// not bold, and a black pen 1 point wide with flat ends, so a line covers exactly its two ends.
class PrinterGraphics final : public Graphics {
public:
    // Starts the job; throws PrintJobException, naming the file or printer, when it cannot start.
    static Ref<PrinterGraphics> begin(std::unique_ptr<QPrinter> printer);

    ~PrinterGraphics() override;

    float TextSize() const override;
    // Sizes are points up to MaxTextSize; 0 asks for the default size, and TextSize then
    // reads 0 as it was set. Negative, infinite or not-a-number sizes are refused.
    void SetTextSize(float size) override;
    bool Bold() const override;
    void SetBold(bool bold) override;
    // The ascent of the current font, rounded to the nearest point.
    std::int32_t TextAscent() override;
    double StringWidth(const String& text) override;
    std::int32_t Width() override;
    std::int32_t Height() override;
    // A wrap width of 0 draws one line. A positive one breaks the text into lines no wider than
    // it, one line spacing of the font apart, unless condense is set: then the text stays on one
    // line, narrowed to fit the width when it is wider. The first baseline is at y either way.
    void DrawString(const String& text, std::int32_t x, std::int32_t y, std::int32_t wrapWidth, bool condense) override;
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void NextPage() override;

    static constexpr float DefaultTextSize = 12.0f;

private:
    struct Job;
    explicit PrinterGraphics(std::unique_ptr<Job> job);
    std::unique_ptr<Job> m_job;
};

}
