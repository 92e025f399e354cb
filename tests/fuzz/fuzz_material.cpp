// Material scripts through the material resource: the script file's lines and
// the parser that turns them into the material's settings and layers.
#include "fuzz_support.h"
#include "resource/resource_material.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Engine& engine = fuzz::SharedEngine();
    engine.Write("input", "txt", data, size);
    ZRMaterial material;
    material.LoadFromFile("input");
    return 0;
}
