#include "cat_motion.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace bake::cat {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kBreathLift = 0.0025f;
constexpr float kPlanted = 0.98f;
// Key units between samples when measuring the reach of the poses.
constexpr float kReachStep = 0.5f;

// How far each bone turns (radians, about the model's axes) and moves on top
// of its rest.
struct Pose {
    std::array<Vector3, kBoneCount> Turn{};
    std::array<Vector3, kBoneCount> Shift{};
};

using Motion = void (*)(float s, Pose& pose);

struct Script {
    const char* Name;
    // Key units: ten a second.
    int Length;
    Motion Move;
};

float Square(float x) { return x * x; }

float Smoothstep01(float x)
{
    x = std::clamp(x, 0.0f, 1.0f);
    return x * x * (3.0f - 2.0f * x);
}

// 0 before start and after end, 1 between, easing in and out over ramp.
float Plateau(float s, float start, float end, float ramp = 0.1f)
{
    return Smoothstep01((s - start) / ramp) * Smoothstep01((end - s) / ramp);
}

// The chest rises with each breath; the front legs hang from the chest, so
// they drop back down, a hair less than it rises so that rounding never
// sinks a paw below the ground.
void Breathe(float s, int breaths, Pose& pose)
{
    const float lift = kBreathLift * Square(std::sin(kPi * breaths * s));
    pose.Shift[kChest].y = lift;
    pose.Shift[kFrontUpperRight].y = -kPlanted * lift;
    pose.Shift[kFrontUpperLeft].y = -kPlanted * lift;
}

void Idle(float s, Pose& pose)
{
    Breathe(s, 3, pose);
    const float settle = Square(std::sin(kPi * s));
    for (int i = 0; i < kTailBones; ++i)
        pose.Turn[kTail0 + i].y = settle * (0.08f + 0.035f * i) * std::sin(2.0f * kPi * 2.0f * s - 0.7f * i);
    const float look = Plateau(s, 0.2f, 0.8f, 0.2f);
    pose.Turn[kNeck].y = 0.12f * look;
    pose.Turn[kHead].y = 0.25f * look;
    pose.Turn[kHead].x = -0.06f * look;
    pose.Turn[kEarRight].z = -0.3f * Plateau(s, 0.55f, 0.63f, 0.03f);
}

// Looks to its left, then up to its right, then lifts its left paw and eyes
// it while the tail flicks. A turn about +y swings the nose to the cat's left.
void LookAround(float s, Pose& pose)
{
    Breathe(s, 4, pose);
    const float left = Plateau(s, 0.05f, 0.35f), right = Plateau(s, 0.4f, 0.6f, 0.08f);
    const float raise = Plateau(s, 0.48f, 0.88f), fold = Plateau(s, 0.54f, 0.82f);
    pose.Turn[kNeck].y = 0.18f * (left - right);
    pose.Turn[kHead].y = 0.32f * (left - right) + 0.12f * raise;
    pose.Turn[kHead].x = 0.14f * right - 0.12f * raise;
    pose.Turn[kEarRight].x = pose.Turn[kEarLeft].x = -0.2f * (left + right);
    const float lift = Plateau(s, 0.1f, 0.9f, 0.15f);
    pose.Turn[kTail0].x = -0.2f * lift;
    pose.Turn[kTail1].x = -0.1f * lift;
    const float flick = Plateau(s, 0.55f, 0.85f, 0.05f) * std::sin(2.0f * kPi * 5.0f * (s - 0.55f));
    for (int i = 3; i < kTailBones; ++i)
        pose.Turn[kTail0 + i].y = 0.3f * flick * (1.0f + 0.3f * (i - 3));
    // The forearm first hangs plumb while the shoulder lifts it, so the paw
    // leaves the ground flat; only then does it fold back.
    pose.Turn[kFrontUpperLeft].x = 0.7f * raise;
    pose.Turn[kFrontLowerLeft].x =
        -0.7f * raise - fold * (0.75f + 0.15f * std::sin(2.0f * kPi * 4.0f * (s - 0.54f)));
}

constexpr Script kScripts[] = {{"Idle", 41, Idle}, {"LookAround", 46, LookAround}};

bool Same(const Vector3& a, const Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// A key between two of its own value changes nothing, so it goes.
void DropHeldKeys(std::vector<ZRMKey>& keys)
{
    std::vector<ZRMKey> kept;
    for (size_t i = 0; i < keys.size(); ++i) {
        const bool inside = i > 0 && i + 1 < keys.size();
        if (!inside || !Same(keys[i - 1].Value, keys[i].Value) || !Same(keys[i].Value, keys[i + 1].Value))
            kept.push_back(keys[i]);
    }
    keys = kept;
}

ZRMAnimation Sample(const Script& script)
{
    ZRMAnimation animation;
    animation.Name = script.Name;
    animation.Tracks.resize(kBoneCount);
    for (int key = 0; key < script.Length; ++key) {
        Pose pose;
        script.Move(static_cast<float>(key) / (script.Length - 1), pose);
        const float time = 1.0f + static_cast<float>(key);
        for (int b = 0; b < kBoneCount; ++b) {
            animation.Tracks[b].RotationKeys.push_back({time, pose.Turn[b]});
            animation.Tracks[b].PositionKeys.push_back({time, pose.Shift[b]});
        }
    }
    for (ZRMTrack& track : animation.Tracks) {
        DropHeldKeys(track.RotationKeys);
        DropHeldKeys(track.PositionKeys);
    }
    animation.Length = static_cast<float>(script.Length);
    return animation;
}

// A rotation (the engine's Rz Ry Rx, rows) and a translation.
struct Frame {
    std::array<float, 9> R{1, 0, 0, 0, 1, 0, 0, 0, 1};
    Vector3 T;
};

Frame Rotation(const Vector3& a)
{
    const float sx = std::sin(a.x), cx = std::cos(a.x), sy = std::sin(a.y), cy = std::cos(a.y);
    const float sz = std::sin(a.z), cz = std::cos(a.z);
    return {{cy * cz, sx * sy * cz - cx * sz, cx * sy * cz + sx * sz, cy * sz, sx * sy * sz + cx * cz,
             cx * sy * sz - sx * cz, -sy, sx * cy, cx * cy},
            {}};
}

Vector3 Rotate(const Frame& f, const Vector3& v)
{
    return {f.R[0] * v.x + f.R[1] * v.y + f.R[2] * v.z, f.R[3] * v.x + f.R[4] * v.y + f.R[5] * v.z,
            f.R[6] * v.x + f.R[7] * v.y + f.R[8] * v.z};
}

Vector3 Unrotate(const Frame& f, const Vector3& v)
{
    return {f.R[0] * v.x + f.R[3] * v.y + f.R[6] * v.z, f.R[1] * v.x + f.R[4] * v.y + f.R[7] * v.z,
            f.R[2] * v.x + f.R[5] * v.y + f.R[8] * v.z};
}

Frame Compose(const Frame& parent, const Frame& local)
{
    Frame out;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out.R[r * 3 + c] = parent.R[r * 3] * local.R[c] + parent.R[r * 3 + 1] * local.R[3 + c] +
                               parent.R[r * 3 + 2] * local.R[6 + c];
    out.T = parent.T + Rotate(parent, local.T);
    return out;
}

Vector3 Interpolate(const std::vector<ZRMKey>& keys, float t)
{
    const auto hi = std::find_if(keys.begin(), keys.end(), [t](const ZRMKey& key) { return key.Time >= t; });
    if (hi == keys.end())
        return keys.back().Value;
    if (hi == keys.begin())
        return hi->Value;
    const ZRMKey& lo = *(hi - 1);
    return lo.Value + (hi->Value - lo.Value) * ((t - lo.Time) / (hi->Time - lo.Time));
}

// Absolute frames of every joint: local rest, then the keyed turn and shift.
std::vector<Frame> Frames(const std::vector<ZRMJoint>& joints, const ZRMAnimation* animation, float t)
{
    std::vector<Frame> frames(joints.size());
    for (size_t j = 0; j < joints.size(); ++j) {
        Frame local = Rotation(joints[j].RestRotation);
        local.T = joints[j].RestPosition;
        if (animation) {
            const ZRMTrack& track = animation->Tracks[j];
            Frame turn = Rotation(Interpolate(track.RotationKeys, t));
            turn.T = Interpolate(track.PositionKeys, t);
            local = Compose(local, turn);
        }
        frames[j] = joints[j].Parent == kNoJoint ? local : Compose(frames[joints[j].Parent], local);
    }
    return frames;
}

float Radius(const Mesh& mesh, const std::vector<Frame>& rest, const std::vector<Frame>& posed)
{
    float radius = 0.0f;
    for (const MeshVertex& vertex : mesh.Vertices) {
        Vector3 p = vertex.Position;
        if (vertex.Joint < posed.size()) {
            const Frame& from = rest[vertex.Joint];
            p = Rotate(posed[vertex.Joint], Unrotate(from, p - from.T)) + posed[vertex.Joint].T;
        }
        radius = std::max(radius, Length(p));
    }
    return radius;
}

}  // namespace

// Rest rotations stay zero, so that every key turns its bone about the
// model's own axes.
std::vector<ZRMJoint> Joints()
{
    std::vector<ZRMJoint> joints;
    for (const BoneRest& bone : Skeleton()) {
        ZRMJoint joint;
        joint.Name = bone.Name;
        joint.Parent = bone.Parent;
        const Vector3 parent = bone.Parent == kNoJoint ? Vector3{} : Skeleton()[bone.Parent].Position;
        joint.RestPosition = bone.Position - parent;
        joints.push_back(joint);
    }
    return joints;
}

std::vector<ZRMAnimation> Animations()
{
    std::vector<ZRMAnimation> animations;
    for (const Script& script : kScripts)
        animations.push_back(Sample(script));
    const std::vector<ZRMJoint> joints = Joints();
    for (ZRMAnimation& animation : animations) {
        for (size_t j = 0; j < joints.size(); ++j) {
            animation.Tracks[j].RestRotation = joints[j].RestRotation;
            animation.Tracks[j].RestPosition = joints[j].RestPosition;
        }
    }
    return animations;
}

float PosedRadius(const ztm::Model& model, const Mesh& mesh)
{
    const std::vector<Frame> rest = Frames(model.Joints, nullptr, 0.0f);
    float radius = Radius(mesh, rest, rest);
    for (const ZRMAnimation& animation : model.Animations)
        for (float t = 1.0f; t <= animation.Length; t += kReachStep)
            radius = std::max(radius, Radius(mesh, rest, Frames(model.Joints, &animation, t)));
    return radius;
}

}  // namespace bake::cat
