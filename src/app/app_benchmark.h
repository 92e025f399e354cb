// The unattended benchmark: warm-up passes, then the measured passes twice
// while the camera orbits the cat once each time, first with every part of
// the frame timed (serialised by glFinish) and then without; at the end one
// JSON object for standard output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ZAGLScene;
class ZOTGL;

class ZABenchmark {
public:
    static constexpr int32_t kWarmUpPasses = 30;

    explicit ZABenchmark(int32_t measuredPasses) : Measured(measuredPasses) {}

    // Every pass of the main loop the benchmark needs.
    int32_t TotalPasses() const { return kWarmUpPasses + 2 * Measured; }
    // pass counts from 1, as the main loop does.
    void BeforePass(int32_t pass, ZAGLScene& scene, ZOTGL& gl);
    // seconds: the whole pass of the main loop, from its start to the present.
    void AfterPass(int32_t pass, float seconds, const ZOTGL& gl);
    // Whether both measured runs have ended.
    bool Complete() const { return Done; }
    std::string Report(const ZOTGL& gl) const;

private:
    enum class TPhase { WarmUp, Serialised, Unserialised };

    int32_t Measured;
    float StartYaw = 0.0f;
    double StartupMs = -1.0;
    int64_t RunStart = 0;
    double SerialisedSeconds = 0.0;
    double UnserialisedSeconds = 0.0;
    bool Done = false;
    std::vector<float> FrameMs;
    std::vector<float> UnserialisedFrameMs;
    std::vector<float> Triangles;

    TPhase PhaseOf(int32_t pass) const;
    // The measured pass's place in its run, from 0.
    int32_t StepOf(int32_t pass) const;
};
