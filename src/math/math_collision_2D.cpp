#include "math/math_collision_2D.h"

ZMCollision2D::ZMCollision2D(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT Engine Math Collision 2D", "ZMCollision2D")
{
}
