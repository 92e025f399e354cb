// What the picture readers promise whatever the file held.
#pragma once

#include <string>

#include "fuzz_support.h"
#include "platform/platform_bitmap.h"

namespace fuzz {

inline bool WithinLimits(int64_t width, int64_t height)
{
    return platform::IsImageSide(width) && platform::IsImageSide(height) && width * height <= platform::kMaxImagePixels;
}

// A picture within the limits, or nothing and a reason.
inline void RequireBitmapOutcome(bool loaded, const platform::Bitmap24& bitmap, const std::string& error)
{
    if (loaded)
        Require(WithinLimits(bitmap.Width(), bitmap.Height()), "a loaded picture lies within the size limits");
    else
        Require(bitmap.Empty() && !error.empty(), "a refused picture leaves no pixels and says why");
}

}  // namespace fuzz
