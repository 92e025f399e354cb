// TGA files through the image resource, which reads them itself.
#include "fuzz_support.h"
#include "image_fuzz_support.h"
#include "resource/resource_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Engine& engine = fuzz::SharedEngine();
    engine.Write("input", "tga", data, size);
    ZRImage image;
    image.LoadFromFile("input", "tga");
    if (!image.IsLoaded())
        return 0;
    const TIData& loaded = image.Data;
    fuzz::Require(fuzz::WithinLimits(loaded.Width, loaded.Height) &&
                      loaded.Pixels.size() == static_cast<size_t>(loaded.Width) * static_cast<size_t>(loaded.Height) *
                                                  static_cast<size_t>(BytesPerPixel(loaded.Format)),
                  "a loaded picture lies within the limits and holds every pixel it states");
    return 0;
}
