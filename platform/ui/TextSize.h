#pragma once

#include "OutOfBoundsException.h"

#include <string>

namespace platform {

// The largest text size that a control or a printed page takes: one limit, so that a size one
// of them accepts the other accepts too. A larger size is refused before it reaches a font.
inline constexpr float MaxTextSize = 4096.0f;

// Refuses a size that is negative, not finite or beyond MaxTextSize, saying where it was given.
// Checked before any use: a float out of int's range converts with undefined behaviour.
inline void checkTextSize(float size, const std::string& where)
{
    if (!(size >= 0.0f && size <= MaxTextSize))
        throw OutOfBoundsException(where + ": " + std::to_string(size) + " is not a text size; give one from 0 to "
                                   + std::to_string(static_cast<int>(MaxTextSize)));
}

}
