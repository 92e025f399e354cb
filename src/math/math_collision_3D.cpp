#include "math/math_collision_3D.h"

ZMCollision3D::ZMCollision3D(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT Engine Math Collision 3D", "ZMCollision3D")
{
}
