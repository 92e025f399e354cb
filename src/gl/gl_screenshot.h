// Numbered screenshots: the frame as it will be presented, read from the
// back buffer, saved as a 24-bit bitmap under the first free name.
#pragma once

#include <string>

#include "core/zot_object.h"

class ZRImage;

class GLScreenShot : public ZOTObject {
public:
    explicit GLScreenShot(ZOTOwner* parent);

    // The GL module's viewport of the back buffer, before it is swapped.
    void Capture();
    // numbered: baseName followed by the first number whose file does not exist yet.
    void Save(const std::string& baseName, bool numbered);

    // Owned.
    ZRImage* Image = nullptr;
};
