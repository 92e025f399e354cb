// The families of baked pictures; each appends its pictures (and text files)
// to the bake in a fixed order.
#pragma once

#include "font.h"
#include "picture.h"

namespace bake {

// Sky box faces, the sun sprite and the stars.
void BakeSky(Bake& bake);
// Grass, detail, lawn mask and blade, the stone plate and its normal map.
void BakeGround(Bake& bake);
// The cat's fur colour, strand mask and shading lookup.
void BakeFur(Bake& bake);
// The cat: its model with skeleton and animations.
void BakeCat(Bake& bake);
// The butterfly model and its wing picture.
void BakeButterfly(Bake& bake);
// The garden props (fence, slide, watering can, house) and their pictures.
void BakeProps(Bake& bake);
// The LCD font and its width file, the logo and the loading picture.
void BakeInterface(Bake& bake, const Font& font);

}  // namespace bake
