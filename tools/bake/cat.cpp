#include "families.h"
#include "mesh.h"

namespace bake {

void BakeCat(Bake& bake)
{
    Mesh mesh;
    mesh.Ellipsoid({0, 0.15f, 0}, {0.12f, 0.12f, 0.25f}, 12, 16, {});
    ModelFile file{"models\\cat", {}};
    file.Model.Name = "Cat";
    mesh.ToModel(file.Model);
    file.Model.BoundingRadius = mesh.Radius();
    bake.Models.push_back(file);
}

}  // namespace bake
