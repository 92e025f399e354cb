#include "model_kit.h"
#include "props.h"

namespace bake {

void BakeHouse(Bake& bake)
{
    Mesh mesh;
    mesh.Box({0, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, {});
    bake.Models.push_back(Finished("house", "House", mesh, {Painted("Stand-in", {1, 1, 1})}, {}));
}

}  // namespace bake
