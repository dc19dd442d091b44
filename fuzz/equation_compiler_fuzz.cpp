// Any text through the equation compiler: it never writes outside the
// 1000-byte area, and whatever it accepts is byte code that the
// configuration validator accepts with the same channels.
#include "config_validation.h"
#include "equation_compiler.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    // Exactly the area on the heap, so that one byte more is caught.
    auto area = std::make_unique<uint8_t[]>(KVX_EQUATION_AREA);
    const kvlink::EquationResult result = kvlink::compileEquation(text.c_str(), area.get());

    if (result.error != kvlink::EquationOk) {
        const bool known = result.error >= kvlink::EquationBadChannel && result.error <= kvlink::EquationNoChannel;
        const bool inText =
            result.errorPosition >= 0 && static_cast<size_t>(result.errorPosition) <= std::strlen(text.c_str());
        if (!known || !inText) std::abort();
        return 0;
    }
    if (result.length < 4 || result.length > KVX_EQUATION_AREA || area[result.length - 1] != kvlink::TokenEnd)
        std::abort();
    if (result.channelMask == 0 || (static_cast<uint32_t>(result.channelMask) >> KVX_MAX_CHANNELS) != 0) std::abort();

    uint32_t sources = 0;
    const auto &walked = *reinterpret_cast<const uint8_t(*)[KVX_EQUATION_AREA]>(area.get());
    if (kvlink::walkEquation(walked, 0, sources) != kvlink::DetailNone) std::abort();
    if (sources != static_cast<uint32_t>(result.channelMask)) std::abort();
    return 0;
}
