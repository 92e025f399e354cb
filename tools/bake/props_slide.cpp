#include "model_kit.h"
#include "props.h"

namespace bake {

void BakeSlide(Bake& bake)
{
    Mesh mesh;
    mesh.Box({0, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, {});
    bake.Models.push_back(Finished("slide", "Slide", mesh, {Painted("Stand-in", {1, 1, 1})}, {}));
}

}  // namespace bake
