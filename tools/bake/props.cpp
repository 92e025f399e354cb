#include "families.h"
#include "props.h"

namespace bake {

void BakeProps(Bake& bake)
{
    const size_t first = bake.Models.size();
    BakeFence(bake);
    BakeSlide(bake);
    BakeWateringCan(bake);
    BakeHouse(bake);
    // The props never move or bend: their groups are compiled into display
    // lists once, at load, rather than sent vertex by vertex every frame.
    for (size_t i = first; i < bake.Models.size(); ++i)
        bake.Models[i].Model.UseDisplayLists = true;
}

}  // namespace bake
