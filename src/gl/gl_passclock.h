// Wall time of each part of the frame, for the benchmark. While the clock
// runs, every part starts and ends with glFinish: the driver queues drawing
// and does it later, so without the finishes a part's time would be whatever
// its predecessors left queued.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The parts of the frame, in drawing order, with the names the benchmark prints.
#define GL_FRAME_PASSES(X)          \
    X(Sky, "sky")                   \
    X(ShadowPass, "shadow_pass")    \
    X(Ground, "ground")             \
    X(Lawn, "lawn")                 \
    X(Cat, "cat")                   \
    X(Fur, "fur")                   \
    X(Butterflies, "butterflies")   \
    X(Props, "props")               \
    X(Interface, "interface")       \
    X(Post, "post")                 \
    X(Swap, "swap")

enum class TFramePass : int32_t {
#define GL_FRAME_PASS_ENUM(id, name) id,
    GL_FRAME_PASSES(GL_FRAME_PASS_ENUM)
#undef GL_FRAME_PASS_ENUM
};

constexpr int32_t kFramePassCount = 0
#define GL_FRAME_PASS_COUNT(id, name) +1
    GL_FRAME_PASSES(GL_FRAME_PASS_COUNT)
#undef GL_FRAME_PASS_COUNT
    ;

const char* FramePassName(TFramePass pass);

// The value below which that fraction (0 to 1) of the samples lie, by the
// nearest rank; 0 for no samples.
float Percentile(std::vector<float> samples, float fraction);

class GLPassClock {
public:
    // Off, the clock costs a flag test per part and changes nothing.
    void SetRunning(bool on) { Running = on; }

    // A part drawn inside another (the models in the shadow pass) counts
    // towards the outer one: Begin is false then, and that part has no End.
    bool Begin(TFramePass pass);
    void End(TFramePass pass);
    // The frame's sums become one sample per part.
    void EndFrame();
    void Clear();
    // Milliseconds; 0 for a part never measured.
    float MedianMs(TFramePass pass) const;

private:
    static constexpr std::size_t kCount = static_cast<std::size_t>(kFramePassCount);

    bool Running = false;
    bool Open = false;
    int64_t Started = 0;
    std::array<double, kCount> ThisFrame{};
    std::array<std::vector<float>, kCount> Samples;
};

// Times the enclosing block as one part of the frame on the GL module's clock.
class GLPassScope {
public:
    explicit GLPassScope(TFramePass pass);
    ~GLPassScope();
    GLPassScope(const GLPassScope&) = delete;
    GLPassScope& operator=(const GLPassScope&) = delete;

private:
    TFramePass Pass;
    bool Counted;
};
