// Material scripts through the material resource: the script file's lines,
// the parser that turns them into the material's settings and layers, and
// what each rendering step shows at a few times, as drawing asks for it.
#include <algorithm>

#include "fuzz_support.h"
#include "resource/resource_material.h"

namespace {

constexpr float kTimes[] = {0.0f, 0.75f, 1e9f, -3.5f};
// Enough steps to reach every code path; a script may name hundreds.
constexpr int32_t kAskedSteps = 8;

void AskEveryStep(ZRMaterial& material)
{
    const int32_t last = std::min(material.Material.Rendering.LastStep, kAskedSteps);
    for (float time : kTimes) {
        material.SetTimer(kTimerOwn, time);
        for (int32_t step = -1; step <= last + 1; ++step)
            material.GetStep(step);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Engine& engine = fuzz::SharedEngine();
    engine.Write("input", "txt", data, size);
    ZRMaterial material;
    material.LoadFromFile("input");
    AskEveryStep(material);
    return 0;
}
