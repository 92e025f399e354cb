#include "model_kit.h"
#include "props.h"

namespace bake {

void BakeWateringCan(Bake& bake)
{
    Mesh mesh;
    mesh.Box({0, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, {});
    bake.Models.push_back(Finished("watering can", "WateringCan", mesh, {Painted("Stand-in", {1, 1, 1})}, {}));
}

}  // namespace bake
