#include "gl/gl_textureengine.h"

#include <GL/glu.h>

#include <algorithm>
#include <memory>

#include "core/zot_console.h"
#include "core/zot_convert.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "platform/platform_image.h"
#include "platform/platform_system.h"
#include "resource/resource_image.h"
#include "resource/resource_texture.h"

namespace {

constexpr float kStartAnisotropy = 4.0f;
constexpr float kBoundAlphaReference = 0.5f;
constexpr int32_t kLargestDoubled = 2048;
constexpr int32_t kCompressionOff = 0;
constexpr int32_t kCompressionDXT5 = 2;
constexpr int32_t kSphereMap = 1;

// How each kind of image file is read; GL wants rows bottom row first.
enum class TRows { OwnReader, TopFirst, BottomFirst };

struct TImageFile {
    const char* Extension;
    TRows Rows;
};

// The order in which an image file is looked for under its base name.
// Bitmaps go through the engine's own reader; the TGA loader has already
// reversed the file's rows.
constexpr TImageFile kImageFiles[] = {
    {"bmp", TRows::OwnReader},
    {"jpg", TRows::TopFirst},
    {"png", TRows::TopFirst},
    {"tga", TRows::BottomFirst},
};


// The first image file found under baseName; none when there is none.
const TImageFile* FirstImageFile(const std::string& baseName)
{
    const ZOTFileSystem& files = *CurrentEngine->FileSystem;
    for (const TImageFile& file : kImageFiles) {
        if (files.Exists(files.MakePath(baseName, file.Extension), false))
            return &file;
    }
    return nullptr;
}

// Tightly packed rows of a padded bitmap, in the requested row and channel order.
std::vector<uint8_t> PackRows(const platform::Bitmap24& bitmap, bool bottomFirst, bool swapRedBlue)
{
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<uint8_t> packed(rowBytes * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const uint8_t* source = bitmap.Row(bottomFirst ? height - 1 - row : row);
        uint8_t* target = packed.data() + rowBytes * static_cast<std::size_t>(row);
        std::copy(source, source + rowBytes, target);
        if (!swapRedBlue)
            continue;
        for (std::size_t pixel = 0; pixel < rowBytes; pixel += 3)
            std::swap(target[pixel], target[pixel + 2]);
    }
    return packed;
}

// Rows of any width arrive tightly packed; GL's default would read them as
// padded to four bytes.
class TightUnpacking {
public:
    TightUnpacking()
    {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &Saved);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    ~TightUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, Saved); }
    TightUnpacking(const TightUnpacking&) = delete;
    TightUnpacking& operator=(const TightUnpacking&) = delete;

private:
    GLint Saved = 4;
};

}  // namespace

GLTextureEngine::GLTextureEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Texture Engine", "GLTextureEngine")
{
    SetAnisotropy(true, kStartAnisotropy);
    Enable();
}

void GLTextureEngine::Init()
{
    DetectMultitexture();
    DetectCompression();
    DetectAnisotropy();
    DefaultFilter = kFilterMipmapLinear;
    SetUseCompression(true);
    SharedTexture1 = nullptr;
    SharedTexture2 = nullptr;
    LogLine("ZOT GL: Texture Engine initialized!");
}

void GLTextureEngine::DetectMultitexture()
{
    if (!ZOTGL::ExtensionAvailable("GL_ARB_multitexture")) {
        MaxUnit = 0;
        ZOTGL::Error("Multitexturing not supported!");
        return;
    }
    GLint driverUnits = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &driverUnits);
    FetchMultitextureEntries();
    MaxUnit = HighestUnit(driverUnits);
    ZOTGL::LogExtension("GL_ARB_multitexture");
    LogLine("ZOT GL: Supporting " + ZOTConvert::IntToStr(MaxUnit + 1) + " Texel Units");
    Detect3D();
}

void GLTextureEngine::FetchMultitextureEntries()
{
    ZOTGL::FetchEntryPoint(MultiTexCoord1f, "glMultiTexCoord1fARB");
    ZOTGL::FetchEntryPoint(MultiTexCoord2f, "glMultiTexCoord2fARB");
    ZOTGL::FetchEntryPoint(MultiTexCoord3f, "glMultiTexCoord3fARB");
    ZOTGL::FetchEntryPoint(MultiTexCoord4f, "glMultiTexCoord4fARB");
    ZOTGL::FetchEntryPoint(MultiTexCoord2fv, "glMultiTexCoord2fvARB");
    ZOTGL::FetchEntryPoint(ActiveTexture, "glActiveTextureARB");
    ZOTGL::FetchEntryPoint(ClientActiveTexture, "glClientActiveTextureARB");
}

void GLTextureEngine::Detect3D()
{
    Supports3D = ZOTGL::ExtensionAvailable("GL_EXT_texture3D");
    if (!Supports3D)
        return;
    ZOTGL::FetchEntryPoint(TexImage3D, "glTexImage3D");
    ZOTGL::LogExtension("GL_EXT_texture3D");
}

void GLTextureEngine::DetectCompression()
{
    SupportsCompression = ZOTGL::ExtensionAvailable("GL_ARB_texture_compression");
    if (!SupportsCompression)
        return;
    ZOTGL::LogExtension("GL_ARB_texture_compression");
    SetUseCompression(true);
}

void GLTextureEngine::DetectAnisotropy()
{
    SupportsAnisotropy = ZOTGL::ExtensionAvailable("GL_EXT_texture_filter_anisotropic");
    if (!SupportsAnisotropy)
        return;
    ZOTGL::LogExtension("GL_EXT_texture_filter_anisotropic");
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &MaxAnisotropy);
    LogLine("ZOT GL: Maximum Anisotropy Degree: " + ZOTConvert::FloatToStr(MaxAnisotropy));
    SetAnisotropy(true, kStartAnisotropy);
}

int32_t GLTextureEngine::HighestUnit(int32_t driverUnits) { return std::clamp(driverUnits - 1, 0, kUnits - 1); }

void GLTextureEngine::SetUseCompression(bool on) { UseCompression = on && SupportsCompression; }

void GLTextureEngine::SetAnisotropy(bool on, float degree)
{
    UseAnisotropy = on && SupportsAnisotropy;
    Anisotropy = std::min(degree, MaxAnisotropy);
}

void GLTextureEngine::SetDefaultFilter(int32_t mode) { DefaultFilter = mode; }

void GLTextureEngine::Enable() { Enabled = true; }

void GLTextureEngine::Disable()
{
    Enabled = false;
    glDisable(GL_TEXTURE_2D);
}

void GLTextureEngine::LoadTexture(const std::string& fileName, ZRTexture& texture)
{
    ResetBound();
    const std::string baseName = CurrentEngine->FileSystem->RelativeName(fileName, false);
    const TImageFile* file = FirstImageFile(baseName);
    if (!file) {
        CurrentEngine->Error("ZT_FILE", "File \"" + baseName + "\" not found!");
        return;
    }
    if (file->Rows == TRows::OwnReader)
        LoadBitmapFile(CurrentEngine->FileSystem->MakePath(baseName, file->Extension), texture);
    else
        LoadImageFile(baseName, file->Extension, file->Rows == TRows::TopFirst, texture);
    if (texture.GLName == 0)
        return;
    const TTextureSize size = GetTextureSize(texture.GLName);
    texture.Width = size.Width;
    texture.Height = size.Height;
    SetFilter(texture.GLName, DefaultFilter);
}

void GLTextureEngine::LoadBitmapFile(const std::string& path, ZRTexture& texture)
{
    platform::Bitmap24 bitmap;
    std::string error;
    if (!platform::LoadBMP(platform::NativePath(path), bitmap, error)) {
        ZOTGL::Error(error);
        return;
    }
    const std::vector<uint8_t> rows = PackRows(bitmap, true, true);
    Upload(texture, {rows.data(), rows.size(), bitmap.Width(), bitmap.Height(), kImageRGB, GL_RGB});
}

// The image must load the very file chosen here: it looks for files in an
// order of its own, and rows flipped for another kind of file end upside down.
void GLTextureEngine::LoadImageFile(const std::string& baseName, const char* extension, bool flipRows,
                                    ZRTexture& texture)
{
    const auto image = std::make_unique<ZRImage>(&texture);
    image->LoadFromFile(baseName, extension);
    if (!image->IsLoaded())
        return;
    if (image->Bitmap) {
        if (flipRows)
            image->FlipBitmapRows();
        UploadBitmap(*image->Bitmap, texture);
        return;
    }
    if (flipRows)
        image->FlipDataRows();
    UploadRaw(image->Data.Pixels, texture, image->Data.Width, image->Data.Height, image->Data.Format);
}

void GLTextureEngine::UploadBitmap(const platform::Bitmap24& bitmap, ZRTexture& texture)
{
    texture.Width = bitmap.Width();
    texture.Height = bitmap.Height();
    const std::vector<uint8_t> rows = PackRows(bitmap, false, false);
    Upload(texture, {rows.data(), rows.size(), bitmap.Width(), bitmap.Height(), kImageRGB, GL_BGR});
}

void GLTextureEngine::UploadRaw(const std::vector<uint8_t>& pixels, ZRTexture& texture, int32_t width,
                                int32_t height, int32_t format)
{
    Upload(texture, {pixels.data(), pixels.size(), width, height, format, UploadFormat(format)});
}

void GLTextureEngine::Upload(ZRTexture& texture, const TUpload& upload)
{
    if (!HoldsPixels(upload)) {
        ZOTGL::Error("Texture of " + ZOTConvert::IntToStr(upload.Width) + "*" + ZOTConvert::IntToStr(upload.Height) +
                 " pixels not uploaded: its pixel data is missing or short!");
        return;
    }
    ResetBound();
    DeleteTexture(texture.GLName);
    texture.Format = upload.Format;
    const GLenum internalFormat = InternalFormat(upload.Format, texture.Compression);
    glGenTextures(1, &texture.GLName);
    BindForEdit(texture.GLName);
    GLint failure = 0;
    {
        const TightUnpacking unpacking;
        failure = gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(internalFormat), upload.Width, upload.Height,
                                    upload.Layout, GL_UNSIGNED_BYTE, upload.Pixels);
    }
    if (failure != 0)
        ZOTGL::Error(std::string("Mipmaps not built: ") + reinterpret_cast<const char*>(gluErrorString(failure)));
    SetFilter(texture.GLName, DefaultFilter);
}

bool GLTextureEngine::HoldsPixels(const TUpload& upload) const
{
    if (upload.Width < 1 || upload.Height < 1 || !upload.Pixels)
        return false;
    const uint64_t needed = static_cast<uint64_t>(upload.Width) * static_cast<uint64_t>(upload.Height) *
                            static_cast<uint64_t>(BytesPerPixel(upload.Format));
    return upload.Size >= needed;
}

GLenum GLTextureEngine::InternalFormat(int32_t format, int32_t compression) const
{
    const bool compressed = UseCompression && compression != kCompressionOff;
    if (compressed && compression == kCompressionDXT5)
        return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    switch (format) {
    case kImageRGBA:
        return compressed ? GL_COMPRESSED_RGBA_ARB : GL_RGBA;
    case kImageAlpha:
        return compressed ? GL_COMPRESSED_ALPHA_ARB : GL_ALPHA;
    case kImageRGB:
        return compressed ? GL_COMPRESSED_RGB_ARB : GL_RGB;
    default:
        return GL_RGB;
    }
}

GLenum GLTextureEngine::UploadFormat(int32_t format) const
{
    switch (format) {
    case kImageRGB:
        return GL_RGB;
    case kImageRGBA:
        return GL_RGBA;
    case kImageAlpha:
        return GL_ALPHA;
    default:
        ZOTGL::Error("Undefined texture format (" + ZOTConvert::IntToStr(format) + ") !");
        return GL_RGB;
    }
}

void GLTextureEngine::SetFilter(GLuint glName, int32_t mode)
{
    if (glName == 0)
        return;
    BindForEdit(glName);
    static constexpr GLint kFilters[][2] = {
        {GL_NEAREST, GL_NEAREST},
        {GL_LINEAR, GL_LINEAR},
        {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
        {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
    };
    if (mode >= kFilterNearest && mode <= kFilterMipmapLinear) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, kFilters[mode][0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kFilters[mode][1]);
    }
    if (!SupportsAnisotropy || !UseAnisotropy)
        return;
    // A texture filtered without mip levels is read at full resolution on
    // purpose (the fur's strand mask is): anisotropic sampling would smear
    // what it keeps sharp, and software renderers pay dearly for it there.
    const bool flat = mode == kFilterNearest || mode == kFilterLinear;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, flat ? 1 : static_cast<GLint>(Anisotropy));
}

void GLTextureEngine::SetWrap(const ZRTexture& texture, bool clampS, bool clampT)
{
    if (texture.GLName == 0)
        return;
    BindForEdit(texture.GLName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, clampS ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, clampT ? GL_CLAMP_TO_EDGE : GL_REPEAT);
}

TTextureSize GLTextureEngine::GetTextureSize(GLuint glName)
{
    TTextureSize size;
    BindForEdit(glName);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size.Width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size.Height);
    return size;
}

void GLTextureEngine::DeleteTexture(GLuint glName)
{
    if (glName != 0 && glIsTexture(glName))
        glDeleteTextures(1, &glName);
}

// One doubling at least, and none past 4096, so a render target is never
// smaller than 4 texels nor larger than the textures every driver takes.
int32_t GLTextureEngine::NextPowerOfTwo(int32_t n)
{
    int32_t value = 2;
    do {
        value *= 2;
    } while (value < n && value <= kLargestDoubled);
    return value;
}

void GLTextureEngine::BindForEdit(GLuint glName)
{
    ResetBound();
    glBindTexture(GL_TEXTURE_2D, glName);
}

void GLTextureEngine::Bind(ZRTexture* texture, int32_t unit)
{
    if (!Enabled || !texture || !IsUnit(unit))
        return;
    SelectUnit(unit);
    glEnable(GL_TEXTURE_2D);
    if (Bound[unit] != texture) {
        glBindTexture(GL_TEXTURE_2D, texture->BindName);
        if (texture->GenMode == kSphereMap) {
            SphereMap();
        } else {
            glDisable(GL_TEXTURE_GEN_S);
            glDisable(GL_TEXTURE_GEN_T);
        }
        Bound[unit] = texture;
    }
    // The alpha test is one switch for all units, which materials and other
    // textures turn off in between; a unit that still holds its texture
    // keeps nothing of it, so every bind sets it again.
    if (AlphaTestRGBA)
        SetAlphaTestFor(*texture);
}

void GLTextureEngine::SetAlphaTestFor(const ZRTexture& texture)
{
    const bool blended = NoAlphaTestWhenBlended && CurrentMaterialBlends();
    if (texture.Format == kImageRGBA && !blended)
        AlphaTestAt(true, kBoundAlphaReference);
    else if (CurrentGL)
        CurrentGL->EnableAlphaTest(false);
}

void GLTextureEngine::BindSingle(ZRTexture* texture)
{
    for (int32_t unit = MaxUnit; unit >= 1; --unit)
        DisableUnit(unit);
    Bind(texture, 0);
}

void GLTextureEngine::DisableUnit(int32_t unit)
{
    if (!IsUnit(unit))
        return;
    SelectUnit(unit);
    glDisable(GL_TEXTURE_2D);
}

void GLTextureEngine::DisableAll()
{
    for (int32_t unit = MaxUnit; unit >= 0; --unit)
        DisableUnit(unit);
    AlphaTest(false);
}

void GLTextureEngine::ResetBound() { std::fill(std::begin(Bound), std::end(Bound), nullptr); }

void GLTextureEngine::Forget(const ZRTexture* texture)
{
    for (ZRTexture*& bound : Bound) {
        if (bound == texture)
            bound = nullptr;
    }
    if (SharedTexture1 == texture)
        SharedTexture1 = nullptr;
    if (SharedTexture2 == texture)
        SharedTexture2 = nullptr;
}

void GLTextureEngine::MultiTexCoord(int32_t unit, float s, float t)
{
    if (MultiTexCoord2f)
        MultiTexCoord2f(GL_TEXTURE0_ARB + static_cast<GLenum>(unit), s, t);
    else
        glTexCoord2f(s, t);
}

void GLTextureEngine::AlphaTest(bool on) { AlphaTestAt(on, AlphaReference); }

void GLTextureEngine::AlphaTestAt(bool on, float reference)
{
    if (CurrentGL)
        CurrentGL->EnableAlphaTest(on);
    glAlphaFunc(GL_GREATER, reference);
}

void GLTextureEngine::SphereMap()
{
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

// Only the active unit is touched: nothing in the engine enables 3D textures,
// so this is a safety net for the unit the fur drawing leaves active, and
// repeating the call once per unit is harmless.
void GLTextureEngine::Disable3D()
{
    if (!Supports3D)
        return;
    for (int32_t i = 0; i < MaxUnit; ++i)
        glDisable(GL_TEXTURE_3D);
}

void GLTextureEngine::SelectUnit(int32_t unit)
{
    if (ActiveTexture)
        ActiveTexture(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
}

bool GLTextureEngine::IsUnit(int32_t unit) const { return unit >= 0 && unit < kUnits; }

// A blended material fades through its alpha; an alpha test would cut its soft edges off.
bool GLTextureEngine::CurrentMaterialBlends() const
{
    return CurrentGL && CurrentGL->MaterialEngine && CurrentGL->MaterialEngine->Blends();
}
