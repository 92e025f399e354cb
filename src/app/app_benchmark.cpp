#include "app/app_benchmark.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/app_gl_scene.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_main.h"
#include "platform/platform_system.h"

namespace {

constexpr float kFullTurn = 360.0f;

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string Field(std::string_view name, const std::string& value)
{
    return "\"" + std::string(name) + "\": " + value;
}

std::string FrameTimes(const std::vector<float>& ms)
{
    const float longest = ms.empty() ? 0.0f : *std::max_element(ms.begin(), ms.end());
    return "{" + Field("median", Number(Percentile(ms, 0.5f))) + ", " + Field("p95", Number(Percentile(ms, 0.95f))) +
           ", " + Field("max", Number(longest)) + "}";
}

std::string PassTimes(const GLPassClock& clock)
{
    std::string text = "{";
    for (int32_t i = 0; i < kFramePassCount; ++i) {
        const auto pass = static_cast<TFramePass>(i);
        text += (i ? ", " : "") + Field(FramePassName(pass), Number(clock.MedianMs(pass)));
    }
    return text + "}";
}

double PerSecond(int32_t frames, double seconds) { return seconds > 0.0 ? frames / seconds : 0.0; }

}  // namespace

ZABenchmark::TPhase ZABenchmark::PhaseOf(int32_t pass) const
{
    if (pass <= kWarmUpPasses)
        return TPhase::WarmUp;
    return pass <= kWarmUpPasses + Measured ? TPhase::Serialised : TPhase::Unserialised;
}

int32_t ZABenchmark::StepOf(int32_t pass) const { return (pass - kWarmUpPasses - 1) % Measured; }

void ZABenchmark::BeforePass(int32_t pass, ZAGLScene& scene, ZOTGL& gl)
{
    const TPhase phase = PhaseOf(pass);
    if (phase == TPhase::WarmUp) {
        StartYaw = scene.CameraRotation.y;
        return;
    }
    const int32_t step = StepOf(pass);
    if (step == 0) {
        if (phase == TPhase::Serialised)
            gl.Passes.Clear();
        gl.Passes.SetRunning(phase == TPhase::Serialised);
        CurrentEngine->Timer->StopwatchStart(RunStart);
    }
    scene.CameraRotation.y = StartYaw + kFullTurn * static_cast<float>(step) / static_cast<float>(Measured);
}

void ZABenchmark::AfterPass(int32_t pass, float seconds, const ZOTGL& gl)
{
    // The first pass presents the first garden frame.
    if (pass == 1)
        StartupMs = platform::ProcessAgeMilliseconds();
    const TPhase phase = PhaseOf(pass);
    if (phase == TPhase::WarmUp)
        return;
    const bool lastOfRun = StepOf(pass) == Measured - 1;
    if (phase == TPhase::Serialised) {
        FrameMs.push_back(seconds * 1000.0f);
        Triangles.push_back(static_cast<float>(gl.TrianglesLastFrame));
        if (lastOfRun)
            SerialisedSeconds = CurrentEngine->Timer->StopwatchSeconds(RunStart);
        return;
    }
    UnserialisedFrameMs.push_back(seconds * 1000.0f);
    if (!lastOfRun)
        return;
    UnserialisedSeconds = CurrentEngine->Timer->StopwatchSeconds(RunStart);
    Done = true;
}

std::string ZABenchmark::Report(const ZOTGL& gl) const
{
    const std::string fields[] = {
        Field("frames", std::to_string(Measured)),
        Field("width", std::to_string(gl.Settings.Width)),
        Field("height", std::to_string(gl.Settings.Height)),
        Field("fps", Number(PerSecond(Measured, SerialisedSeconds))),
        Field("fps_unserialised", Number(PerSecond(Measured, UnserialisedSeconds))),
        Field("frame_ms", FrameTimes(FrameMs)),
        Field("frame_ms_unserialised", FrameTimes(UnserialisedFrameMs)),
        Field("startup_ms", Number(StartupMs)),
        Field("triangles", std::to_string(static_cast<int64_t>(Percentile(Triangles, 0.5f)))),
        Field("pass_times", "\"serialised\""),
        Field("passes_ms", PassTimes(gl.Passes)),
    };
    std::string text = "{";
    for (const std::string& field : fields)
        text += (text.size() > 1 ? ", " : "") + field;
    return text + "}\n";
}
