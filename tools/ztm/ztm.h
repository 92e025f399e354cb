// The model writer of the asset tools and the tests: a model described in
// memory becomes the bytes of a .ztm file, chunk by chunk, and a model the
// engine has read turns back into a description.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "resource/resource_material.h"
#include "resource/resource_model.h"

class ZRModel;

namespace ztm {

// A material as a model file embeds it.
struct Material {
    std::string Name;
    Color3 Ambient;
    Color3 Diffuse{1.0f, 1.0f, 1.0f};
    Color3 Specular;
    float Shininess = 1.0f;
    Color3 Emissive;
    std::array<uint8_t, 4> LayerTexture{kNoLayer, kNoLayer, kNoLayer, kNoLayer};
    // Material script lines of at most 55 characters.
    std::vector<std::string> Script;
};

// A texture reference: the object's name and the image file it loads.
struct Texture {
    std::string Name;
    std::string File;
};

struct Level {
    std::string Name;
    float Distance = 0.0f;
    bool Enabled = false;
    std::vector<ZRMVertex> Vertices;
    std::vector<ZRMFace> Faces;
};

struct Model {
    Model();

    // The object name the engine gives the model.
    std::string Name;
    TMMain Main;
    std::array<Level, kModelLevels> Levels;
    std::vector<ZRMGroup> Groups;
    std::vector<Material> Materials;
    std::vector<ZRMJoint> Joints;
    std::vector<Texture> Textures;
    // Lengths are written as the engine computes them from the keys.
    std::vector<ZRMAnimation> Animations;
    std::vector<ZRMAttachment> Attachments;
    float BoundingRadius = 1.0f;
    std::array<Vector3, 3> BoundsExtra{};
    bool UseDisplayLists = false;
    std::array<bool, 3> FlagsExtra{true, true, true};
    ZTScript Info;
};

// One chunk: its id and its payload.
std::string Chunk(const Model& model, uint32_t id);
// Every chunk of the format, in id order.
std::string Bytes(const Model& model);
// False when the file cannot be written.
bool Write(const std::string& nativePath, const Model& model);
// What the engine holds of a model it has read.
Model FromEngine(const ZRModel& model);

}  // namespace ztm
