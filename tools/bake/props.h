// The garden props, one file each: every one appends its model, and the
// pictures only it uses, to the bake.
#pragma once

#include "picture.h"

namespace bake {

void BakeFence(Bake& bake);
void BakeSlide(Bake& bake);
void BakeWateringCan(Bake& bake);
void BakeHouse(Bake& bake);

}  // namespace bake
