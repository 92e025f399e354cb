#include "families.h"
#include "mesh.h"

namespace bake {

void BakeProps(Bake& bake)
{
    Mesh mesh;
    mesh.Box({0, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, {});
    mesh.Tube({0.8f, 0, 0}, {0.8f, 1.2f, 0}, 0.1f, 0.05f, 12, {});
    ModelFile file{"models\\house", {}};
    file.Model.Name = "House";
    mesh.ToModel(file.Model);
    file.Model.BoundingRadius = mesh.Radius();
    bake.Models.push_back(file);
}

}  // namespace bake
