#include "gl/gl_passclock.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_main.h"

namespace {

constexpr const char* kPassNames[] = {
#define GL_FRAME_PASS_NAME(id, name) name,
    GL_FRAME_PASSES(GL_FRAME_PASS_NAME)
#undef GL_FRAME_PASS_NAME
};

size_t Index(TFramePass pass) { return static_cast<size_t>(pass); }

}  // namespace

const char* FramePassName(TFramePass pass) { return kPassNames[Index(pass)]; }

float Percentile(std::vector<float> samples, float fraction)
{
    if (samples.empty())
        return 0.0f;
    const float clamped = std::clamp(fraction, 0.0f, 1.0f);
    const size_t rank = static_cast<size_t>(std::ceil(clamped * static_cast<float>(samples.size())));
    const size_t index = rank == 0 ? 0 : rank - 1;
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(index), samples.end());
    return samples[index];
}

bool GLPassClock::Begin(TFramePass)
{
    if (!Running || Open)
        return false;
    Open = true;
    glFinish();
    CurrentEngine->Timer->StopwatchStart(Started);
    return true;
}

void GLPassClock::End(TFramePass pass)
{
    glFinish();
    ThisFrame[Index(pass)] += CurrentEngine->Timer->StopwatchSeconds(Started);
    Open = false;
}

void GLPassClock::EndFrame()
{
    if (!Running)
        return;
    for (size_t i = 0; i < kCount; ++i) {
        Samples[i].push_back(static_cast<float>(ThisFrame[i] * 1000.0));
        ThisFrame[i] = 0.0;
    }
}

void GLPassClock::Clear()
{
    ThisFrame.fill(0.0);
    for (std::vector<float>& samples : Samples)
        samples.clear();
}

float GLPassClock::MedianMs(TFramePass pass) const { return Percentile(Samples[Index(pass)], 0.5f); }

GLPassScope::GLPassScope(TFramePass pass) : Pass(pass), Counted(CurrentGL->Passes.Begin(pass)) {}

GLPassScope::~GLPassScope()
{
    if (Counted)
        CurrentGL->Passes.End(Pass);
}
