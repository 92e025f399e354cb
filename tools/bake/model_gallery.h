// The model gallery: every baked model rendered through the engine's own
// model engine, from three sides and through each of its animations, lit and
// with its materials, on one sheet for reviewing them at a glance. It needs a
// display (make gallery runs it under Xvfb).
#pragma once

#include <string>

#include "font.h"
#include "picture.h"

namespace bake {

// Loads the models of bake from the tree under root, which must already hold them.
bool WriteModelGallery(const std::string& root, const Bake& bake, const Font& font, const std::string& path,
                       std::string& error);

}  // namespace bake
