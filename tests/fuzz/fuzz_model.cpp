// Model files through the model resource: every chunk, the embedded materials
// and texture references, the index checks and the skeleton it prepares, and
// a pose of each animation; without a GL module nothing is compiled or drawn.
#include <algorithm>

#include "fuzz_support.h"
#include "resource/resource_model.h"

namespace {

// A few key times around and inside an animation's usual span.
constexpr float kPoseTimes[] = {0.0f, 1.0f, 1.5f, 1000.0f};
// Enough animations to reach every code path; a file may hold thousands.
constexpr size_t kPosedAnimations = 4;

void PoseEveryAnimation(ZRModel& model)
{
    const size_t count = std::min(model.Model.Animations.size(), kPosedAnimations);
    for (size_t animation = 0; animation < count; ++animation) {
        for (float time : kPoseTimes)
            model.EvaluatePose(static_cast<int32_t>(animation), true, -1, time);
    }
    for (size_t joint = 0; joint < model.Model.Joints.size(); ++joint)
        model.JointPosition(static_cast<int32_t>(joint));
    model.RestJointPosition(HighIndex(model.Model.Joints));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Engine& engine = fuzz::SharedEngine();
    engine.Write("input", "ztm", data, size);
    ZRModel model(nullptr, "input");
    PoseEveryAnimation(model);
    model.SelectLOD(20.0f);
    return 0;
}
