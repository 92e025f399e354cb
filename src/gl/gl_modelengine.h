// The model engine: the one way models are drawn. A caller adjusts the
// settings of the engine's instance (animation, visible groups, material
// flags), then asks for a model at a position; the engine draws it at once
// and puts the instance back to its defaults.
#pragma once

#include <array>
#include <cstdint>

#include "core/zot_object.h"
#include "math/math_types.h"

class GLModel;
class ZRAnimation;
class ZRModel;

class GLModelEngine : public ZOTObject {
public:
    static constexpr int32_t kSlots = 16;

    explicit GLModelEngine(ZOTOwner* parent);

    void Init();

    // These act on slot Current, or on slots 0..Count while Current is -1.
    void SetAnimation(int32_t animation, int32_t slot, float time);
    void SetGroupVisible(int32_t group, bool visible);
    void SetMaterialFlags(bool enabled, bool override);
    // The animation and time a playback object holds, moving the whole body.
    void SetAnimationFrom(const ZRAnimation& animation);

    // At the level the camera's distance selects.
    void DrawModel(ZRModel* model, const Vector3& position, float scale, const Vector3& rotation);
    // A null model draws nothing and leaves the slot's settings for the next draw.
    void DrawModelAt(ZRModel* model, const Vector3& position, int32_t level, float scale, const Vector3& rotation);
    // Draws the slots in use with their attachments and resets them.
    void Flush();
    // Draws every group of one level of model in place, as a display list records it.
    void DrawLevel(ZRModel* model, int32_t level);

    // Owned.
    std::array<GLModel*, kSlots> Slots{};
    GLModel* Attachment = nullptr;
    int32_t Current = -1;
    int32_t Count = 0;
    bool Enabled = true;

private:
    template <typename Change>
    void ForSelected(Change change);
    void DrawAttachments(GLModel& instance);
};
