// One drawable instance of a model: the model and the settings that say where
// and how to draw it (transform, level, animation slots, materials, visible
// groups, attachments). The model engine owns a pool of them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/zot_object.h"
#include "math/math_types.h"

class ZRMaterial;
class ZRModel;
struct ZRMGroup;

class GLModel : public ZOTObject {
public:
    static constexpr int32_t kAnimationSlots = 4;
    static constexpr int32_t kVisibilityFlags = 32;

    struct TSMaterial {
        bool Enabled = true;
        bool ModelMaterials = true;
        // Draws with whatever state the caller set, in one pass.
        bool Override = false;
        // Merged before and after the model's own material; not owned.
        std::vector<ZRMaterial*> Before;
        std::vector<ZRMaterial*> After;
    };

    struct TSAnimationSlot {
        int32_t Animation = -1;
        float Time = 0.0f;
    };

    struct TSAttachment {
        // Not owned; an entry without a model is skipped.
        ZRModel* Model = nullptr;
        // Degrees, added to the instance's rotation.
        Vector3 Rotation;
        float Scale = 1.0f;
    };

    struct TSettings {
        bool CameraReload = false;
        bool Translate = true;
        bool Rotate = true;
        bool Scale = true;
        bool UseMatrix = false;
        // The orientation drawn with while UseMatrix is set.
        Matrix4 Matrix;
        bool Cull = true;
        bool Lit = true;
        bool StaticLighting = true;
        bool DynamicLighting = true;
        TSMaterial Material;
        Vector3 Position;
        // Degrees: x pitch, y yaw, z roll.
        Vector3 Rotation;
        float ScaleFactor = 1.0f;
        int32_t LOD = 0;
        std::array<TSAnimationSlot, kAnimationSlots> Slots{};
        int32_t SlotHigh = -1;
        // Slot 0 moves every joint, whatever its channel.
        bool WholeBody = false;
        bool Animate = true;
        std::vector<TSAttachment> Attachments;
        bool DrawAttachments = false;
        // Groups beyond these are always drawn.
        std::array<bool, kVisibilityFlags> GroupVisible{};
    };

    explicit GLModel(ZOTOwner* parent);

    // Everything but the position, rotation, scale and level back to the defaults.
    void ResetSettings();
    void Setup(ZRModel* model, const Vector3& position, int32_t level, float scale, const Vector3& rotation);
    // Slot -1 stands for slot 0 moving the whole body.
    void SetAnimation(int32_t animation, int32_t slot, float time);
    void SetGroupVisible(int32_t group, bool visible);
    void SetMaterialFlags(bool enabled, bool override);
    void Draw();
    // Draws every group of the current level in place, without any transform.
    void DrawGroups();

    TSettings Settings;
    // Not owned.
    ZRModel* Model = nullptr;
    // The current level's geometry in the last pose, one position per vertex
    // and three normals per face.
    std::vector<Vector3> SkinnedPositions;
    std::vector<std::array<Vector3, 3>> SkinnedNormals;

private:
    bool Culled() const;
    bool UsesDisplayList() const;
    void Prepare();
    void ApplyTransform();
    void Pose();
    void Skin();
    void Finish();
    void DrawGroup(int32_t group);
    void SelectMaterial(const ZRMGroup& group);
    void DrawFaces(const ZRMGroup& group, int32_t units, bool animated);
};
