// JPEG files through the platform's reader, as JPEG textures are read.
#include "fuzz_support.h"
#include "image_fuzz_support.h"
#include "platform/platform_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fuzz::ScratchDir dir;
    platform::Bitmap24 bitmap;
    std::string error;
    const bool loaded = platform::LoadJPEG(dir.Write("input.jpg", data, size), bitmap, error);
    fuzz::RequireBitmapOutcome(loaded, bitmap, error);
    return 0;
}
