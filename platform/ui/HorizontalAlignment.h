#pragma once

// Private to the framework: how text lines up across a control, and how property strings number it.

#include "PropertyRange.h"

#include <Qt>

#include <array>
#include <cstddef>
#include <cstdint>

namespace platform {

enum class HorizontalAlignment { Default, Left, Center, Right };

// One property's numbering of alignments: the number in a string is the alignment's index here.
template<std::size_t N>
struct AlignmentNumbering {
    std::array<HorizontalAlignment, N> byNumber;

    constexpr PropertyRange range() const noexcept { return { 0, static_cast<std::int32_t>(N) - 1 }; }
    constexpr HorizontalAlignment alignment(std::int32_t number) const
    {
        return byNumber.at(static_cast<std::size_t>(number));
    }
    // An alignment the numbering lacks reads as its first.
    constexpr std::int32_t number(HorizontalAlignment alignment) const noexcept
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (byNumber[i] == alignment)
                return static_cast<std::int32_t>(i);
        }
        return 0;
    }
};

// StaticText.TextAlign counts from the left; TextEdit.Alignment keeps 0 for the platform's default.
inline constexpr AlignmentNumbering<3> textAlignNumbering { {
    HorizontalAlignment::Left,
    HorizontalAlignment::Center,
    HorizontalAlignment::Right,
} };
inline constexpr AlignmentNumbering<4> alignmentNumbering { {
    HorizontalAlignment::Default,
    HorizontalAlignment::Left,
    HorizontalAlignment::Center,
    HorizontalAlignment::Right,
} };

inline Qt::Alignment qtAlignment(HorizontalAlignment alignment) noexcept
{
    switch (alignment) {
    case HorizontalAlignment::Center:
        return Qt::AlignHCenter;
    case HorizontalAlignment::Right:
        return Qt::AlignRight;
    case HorizontalAlignment::Default:
    case HorizontalAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

inline HorizontalAlignment horizontalAlignment(Qt::Alignment alignment) noexcept
{
    if (alignment & Qt::AlignHCenter)
        return HorizontalAlignment::Center;
    if (alignment & Qt::AlignRight)
        return HorizontalAlignment::Right;
    return HorizontalAlignment::Left;
}

}
