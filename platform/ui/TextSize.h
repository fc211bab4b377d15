#pragma once

namespace platform {

// The largest text size that a control or a printed page takes: one limit, so that a size one
// of them accepts the other accepts too. A larger size is refused before it reaches a font.
inline constexpr float MaxTextSize = 4096.0f;

}
