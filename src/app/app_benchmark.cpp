#include "app/app_benchmark.h"

#include <algorithm>
#include <cstdio>

#include "app/app_gl_scene.h"
#include "core/json_object.h"
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

std::string FrameTimes(const std::vector<float>& ms)
{
    const float longest = ms.empty() ? 0.0f : *std::max_element(ms.begin(), ms.end());
    JsonObject json;
    json.AddRaw("median", Number(Percentile(ms, 0.5f)));
    json.AddRaw("p95", Number(Percentile(ms, 0.95f)));
    json.AddRaw("max", Number(longest));
    return json.Text();
}

std::string PassTimes(const GLPassClock& clock)
{
    JsonObject json;
    for (int32_t i = 0; i < kFramePassCount; ++i) {
        const auto pass = static_cast<TFramePass>(i);
        json.AddRaw(FramePassName(pass), Number(clock.MedianMs(pass)));
    }
    return json.Text();
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
    JsonObject json;
    json.AddNumber("frames", Measured);
    json.AddNumber("width", gl.Settings.Width);
    json.AddNumber("height", gl.Settings.Height);
    json.AddRaw("fps", Number(PerSecond(Measured, SerialisedSeconds)));
    json.AddRaw("fps_unserialised", Number(PerSecond(Measured, UnserialisedSeconds)));
    json.AddRaw("frame_ms", FrameTimes(FrameMs));
    json.AddRaw("frame_ms_unserialised", FrameTimes(UnserialisedFrameMs));
    json.AddRaw("startup_ms", Number(StartupMs));
    json.AddNumber("triangles", static_cast<int64_t>(Percentile(Triangles, 0.5f)));
    json.AddText("pass_times", "serialised");
    json.AddRaw("passes_ms", PassTimes(gl.Passes));
    return json.Text() + "\n";
}
