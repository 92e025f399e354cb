#include "resource/imgload.h"

#include <algorithm>
#include <string>

#include "platform/platform_image.h"
#include "platform/platform_system.h"

namespace {

void SetSizes(int* width, int* height, int* channels, const platform::RawImage& image)
{
    *width = image.Width;
    *height = image.Height;
    *channels = image.Channels;
}

}  // namespace

int imgload_LoadPNG(const char* path, int* width, int* height, int* channels, unsigned char** data)
{
    if (!width || !height || !channels || !data)
        return 0;
    *data = nullptr;
    platform::RawImage image;
    std::string error;
    const bool loaded = path && platform::LoadPNG(platform::NativePath(path), image, error);
    SetSizes(width, height, channels, loaded ? image : platform::RawImage());
    if (!loaded)
        return 0;
    *data = new unsigned char[image.Pixels.size()];
    std::copy(image.Pixels.begin(), image.Pixels.end(), *data);
    return 1;
}

void imgload_FreeData(unsigned char** data)
{
    if (!data)
        return;
    delete[] *data;
    *data = nullptr;
}
