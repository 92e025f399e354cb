// PNG files through the image library the image resource calls, and with it
// the platform's reader.
#include "fuzz_support.h"
#include "image_fuzz_support.h"
#include "resource/imgload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fuzz::ScratchDir dir;
    int width = -1;
    int height = -1;
    int channels = -1;
    unsigned char* pixels = nullptr;
    const std::string path = dir.Write("input.png", data, size);
    if (imgload_LoadPNG(path.c_str(), &width, &height, &channels, &pixels)) {
        fuzz::Require(pixels && fuzz::WithinLimits(width, height) && (channels == 1 || channels == 3 || channels == 4),
                      "a loaded picture has pixels, sides within the limits and 1, 3 or 4 channels");
        imgload_FreeData(&pixels);
    } else {
        fuzz::Require(!pixels && width == 0 && height == 0 && channels == 0, "a refused picture leaves nothing");
    }
    return 0;
}
