#include "gl/gl_modelengine.h"

#include <algorithm>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_main.h"
#include "gl/gl_model.h"
#include "math/zot_math.h"
#include "resource/resource_animation.h"
#include "resource/resource_model.h"

namespace {

int32_t LevelAt(const ZRModel& model, const Vector3& position)
{
    return model.SelectLOD(CurrentGL->Camera->DistanceTo(position));
}

}  // namespace

GLModelEngine::GLModelEngine(ZOTOwner* parent) : ZOTObject(parent, "GLModelEngine", "GLModelEngine")
{
    for (GLModel*& slot : Slots)
        slot = new GLModel(this);
    Attachment = new GLModel(this);
}

void GLModelEngine::Init()
{
    for (GLModel* slot : Slots)
        slot->ResetSettings();
    Attachment->ResetSettings();
    LogLine("ZOT GL: Model Engine initialized!");
}

template <typename Change>
void GLModelEngine::ForSelected(Change change)
{
    if (Current >= 0 && Current < kSlots) {
        change(*Slots[static_cast<size_t>(Current)]);
        return;
    }
    const int32_t last = std::min(Count, kSlots - 1);
    for (int32_t i = 0; i <= last; ++i)
        change(*Slots[static_cast<size_t>(i)]);
}

void GLModelEngine::SetAnimation(int32_t animation, int32_t slot, float time)
{
    ForSelected([&](GLModel& instance) { instance.SetAnimation(animation, slot, time); });
}

void GLModelEngine::SetGroupVisible(int32_t group, bool visible)
{
    ForSelected([&](GLModel& instance) { instance.SetGroupVisible(group, visible); });
}

void GLModelEngine::SetMaterialFlags(bool enabled, bool override)
{
    ForSelected([&](GLModel& instance) { instance.SetMaterialFlags(enabled, override); });
}

void GLModelEngine::SetAnimationFrom(const ZRAnimation& animation)
{
    SetAnimation(animation.AnimationIndex, -1, animation.Time);
}

void GLModelEngine::DrawModel(ZRModel* model, const Vector3& position, float scale, const Vector3& rotation)
{
    if (model)
        DrawModelAt(model, position, LevelAt(*model, position), scale, rotation);
}

void GLModelEngine::DrawModelAt(ZRModel* model, const Vector3& position, int32_t level, float scale,
                                const Vector3& rotation)
{
    if (!model)
        return;
    Slots[0]->Setup(model, position, level, scale, rotation);
    Count = 0;
    Flush();
}

void GLModelEngine::Flush()
{
    if (Enabled) {
        for (int32_t i = 0; i <= std::min(Count, kSlots - 1); ++i) {
            GLModel& instance = *Slots[static_cast<size_t>(i)];
            instance.Draw();
            if (instance.Settings.DrawAttachments)
                DrawAttachments(instance);
            instance.ResetSettings();
        }
    }
    Count = 0;
    Current = -1;
}

void GLModelEngine::DrawLevel(ZRModel* model, int32_t level)
{
    GLModel& instance = *Slots[0];
    instance.ResetSettings();
    instance.Setup(model, Vector3{}, level, 1.0f, Vector3{});
    instance.DrawGroups();
    instance.Model = nullptr;
}

// An attachment follows its joint: at rest while the instance plays no
// animation, otherwise in the joint's last pose and turned with it.
void GLModelEngine::DrawAttachments(GLModel& instance)
{
    ZRModel& model = *instance.Model;
    const GLModel::TSettings& settings = instance.Settings;
    const bool animated = settings.SlotHigh != -1;
    const size_t count = std::min(settings.Attachments.size(), model.Model.Attachments.size());
    for (size_t j = 0; j < count; ++j) {
        const GLModel::TSAttachment& attachment = settings.Attachments[j];
        const uint8_t joint = model.Model.Attachments[j].Joint;
        if (!attachment.Model || joint == kNoJoint)
            continue;
        Attachment->ResetSettings();
        const Vector3 offset = animated ? model.JointPosition(joint) : model.RestJointPosition(joint);
        if (animated) {
            Attachment->Settings.UseMatrix = true;
            Attachment->Settings.Matrix = model.Model.JointMatrices[joint].AbsoluteRotation;
        }
        Vector3 position = settings.Position;
        CurrentEngine->Math->MoveRelative(settings.Rotation, position, offset);
        const Vector3 rotation = CurrentEngine->Math->Add(settings.Rotation, attachment.Rotation);
        Attachment->Setup(attachment.Model, position, LevelAt(*attachment.Model, position),
                          attachment.Scale * settings.ScaleFactor, rotation);
        Attachment->Draw();
        Attachment->ResetSettings();
    }
}
