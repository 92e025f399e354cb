// The contact sheet: every baked picture scaled into a tile, over a checker
// board where it is transparent, with its resource name and file beneath it
// in the baked font.
#pragma once

#include "font.h"
#include "picture.h"

namespace bake {

Canvas ContactSheet(const Bake& bake, const Font& font);

}  // namespace bake
