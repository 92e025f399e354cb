// What the baked models share: their materials, and the step that makes a
// finished model file of a mesh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh.h"
#include "picture.h"

namespace bake {

// One colour all over; shine from 0 (matt) to 1 (glossy). The ambient colour
// follows the diffuse one, so the shaded side keeps its hue.
ztm::Material Painted(const std::string& name, const Color3& colour, float shine = 0.0f);
// The model's texture `texture` on layer 0, multiplied by tint.
ztm::Material Textured(const std::string& name, uint8_t texture, const Color3& tint, float shine = 0.0f);

// A half circle from the bottom of a ball to its top, for Lathe to turn into
// the ball.
Outline BallProfile(float radius);

// Moves the mesh along x and z so that its bounds are centred on the origin.
void CentreOnOrigin(Mesh& mesh);

// The model "models\<file>" named name: group i of the mesh is drawn with
// material i and named after it, and the bounding radius takes in every vertex.
ModelFile Finished(const std::string& file, const std::string& name, const Mesh& mesh,
                   const std::vector<ztm::Material>& materials, const std::vector<ztm::Texture>& textures);

}  // namespace bake
