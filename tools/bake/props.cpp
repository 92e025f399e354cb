#include "families.h"
#include "props.h"

namespace bake {

void BakeProps(Bake& bake)
{
    BakeFence(bake);
    BakeSlide(bake);
    BakeWateringCan(bake);
    BakeHouse(bake);
}

}  // namespace bake
