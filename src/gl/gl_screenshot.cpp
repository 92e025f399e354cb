#include "gl/gl_screenshot.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

#include "core/zot_console.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "resource/resource_image.h"

namespace {

constexpr const char* kBitmapExtension = "bmp";

std::string FirstFreeName(const std::string& baseName)
{
    const ZOTFileSystem& files = *CurrentEngine->FileSystem;
    for (int n = 0;; ++n) {
        const std::string candidate = baseName + std::to_string(n);
        if (!files.Exists(files.MakePath(candidate, kBitmapExtension), false))
            return candidate;
    }
}

}  // namespace

GLScreenShot::GLScreenShot(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Screenshot", "GLScreenShot")
{
    Image = new ZRImage(this);
}

void GLScreenShot::Capture()
{
    const DisplaySettings& view = CurrentGL->Settings;
    Image->CreateBlank(view.Width, view.Height, Color3{1.0f, 1.0f, 1.0f});
    if (!Image->Bitmap)
        return;
    platform::Bitmap24& bitmap = *Image->Bitmap;
    const size_t rowBytes = static_cast<size_t>(bitmap.Width()) * 3;
    std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(bitmap.Height()));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(view.X, view.Y, bitmap.Width(), bitmap.Height(), GL_BGR, GL_UNSIGNED_BYTE, rows.data());
    // GL hands rows bottom first, the bitmap keeps them top first.
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* source = rows.data() + rowBytes * static_cast<size_t>(bitmap.Height() - 1 - y);
        std::copy(source, source + rowBytes, bitmap.Row(y));
    }
}

void GLScreenShot::Save(const std::string& baseName, bool numbered)
{
    const std::string name = numbered ? FirstFreeName(baseName) : baseName;
    LogLine("Creating Screenshot...");
    Image->SaveToFile(name);
}
