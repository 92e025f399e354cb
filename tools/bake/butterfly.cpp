#include "families.h"
#include "mesh.h"

namespace bake {

void BakeButterfly(Bake& bake)
{
    Mesh mesh;
    mesh.Box({0, 0.3f, 0}, {0.5f, 0.02f, 0.3f}, {});
    ModelFile file{"models\\butterfly", {}};
    file.Model.Name = "Butterfly";
    mesh.ToModel(file.Model);
    file.Model.BoundingRadius = mesh.Radius();
    bake.Models.push_back(file);
}

}  // namespace bake
