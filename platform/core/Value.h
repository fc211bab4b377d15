#pragma once

#include "Object.h"
#include "Ref.h"
#include "String.h"

#include <cstdint>
#include <variant>

namespace platform {

// An argument or result passed through reflection.
using Value = std::variant<std::monostate, std::int32_t, double, bool, String, Ref<Object>>;

}
