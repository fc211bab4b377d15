#include "Graphics.h"

namespace platform {

const ClassRecord& Graphics::Lookup()
{
    static ClassCache cache;
    return cache.build(nullptr, "Graphics", 0, [](ClassRecord&) {});
}

}
