// A font's width file through the font resource; without a GL module its
// glyph texture loads nothing.
#include "fuzz_support.h"
#include "resource/resource_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Engine& engine = fuzz::SharedEngine();
    engine.Write("input", "txt", data, size);
    ZRFont font("input", 0, nullptr);
    return 0;
}
