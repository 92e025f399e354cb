#include "resource/resource_texture.h"

#include "core/file_file.h"
#include "core/zot_console.h"
#include "core/zot_convert.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_textureengine.h"
#include "resource/resource_image.h"

namespace {

// Textures can outlive the GL module (their owners are torn down later), and
// without it there is nothing left to delete.
GLTextureEngine* TextureEngine() { return CurrentGL ? CurrentGL->TextureEngine : nullptr; }

ZRTexture* SharedSource(const GLTextureEngine& engine, int32_t genMode)
{
    if (genMode == ZRTexture::kGenSphereMap)
        return engine.SharedTexture1;
    if (genMode == ZRTexture::kGenCubeMap)
        return engine.SharedTexture2;
    return nullptr;
}

}  // namespace

ZRTexture::ZRTexture(ZOTOwner* owner) : ZRTexture(std::string(), owner) {}

ZRTexture::ZRTexture(const std::string& fileName, ZOTOwner* owner, int32_t tag)
    : ZOTResource(owner, kDefaultName, "ZRTexture")
{
    Initialize(owner, tag, fileName);
}

ZRTexture::~ZRTexture()
{
    Unload();
    if (GLTextureEngine* engine = TextureEngine())
        engine->Forget(this);
}

void ZRTexture::Initialize(ZOTOwner* owner, int32_t tag, const std::string& fileName)
{
    Settings.Tag = tag;
    SetSource(kGenNone, kSourceOwn);
    Compression = -1;
    if (owner)
        SetParent(owner);
    if (!fileName.empty())
        LoadFromFile(fileName);
    Reset();
}

void ZRTexture::LoadFromFile(const std::string& fileName)
{
    Unload();
    NameAfterFile(fileName, kDefaultName, false);
    LogResource("Creating", "Texture");
    if (GLTextureEngine* engine = TextureEngine())
        engine->LoadTexture(CurrentEngine->FileSystem->MakePath(fileName, "bmp"), *this);
    BindName = GLName;
    Empty = false;
}

void ZRTexture::CreateEmpty(int32_t width, int32_t height, uint8_t fillValue)
{
    Unload();
    LogLine("Creating Empty RGBA Texture with Dimensions " + ZOTConvert::IntToStr(width) +
                                        "*" + ZOTConvert::IntToStr(height));
    Width = width;
    Height = height;
    ZRImage image(this);
    image.SetData(width, height, fillValue, kImageRGBA);
    if (GLTextureEngine* engine = TextureEngine())
        engine->UploadRaw(image.Data.Pixels, *this, width, height, kImageRGBA);
    BindName = GLName;
    Empty = false;
}

void ZRTexture::Unload()
{
    if (!IsLoaded())
        return;
    if (Name != kDefaultName)
        LogResource("Deleting", "Texture");
    if (GLTextureEngine* engine = TextureEngine())
        engine->DeleteTexture(GLName);
    GLName = 0;
    BindName = 0;
    ZOTResource::Unload();
}

void ZRTexture::SetSource(int32_t genMode, int32_t mapSource)
{
    GenMode = genMode;
    MapSource = mapSource;
    if (mapSource != kSourceReflection) {
        BindName = GLName;
        return;
    }
    const GLTextureEngine* engine = TextureEngine();
    const ZRTexture* shared = engine ? SharedSource(*engine, genMode) : nullptr;
    if (shared)
        BindName = shared->GLName;
}

void ZRTexture::SetClamp(bool clampS, bool clampT)
{
    ClampS = clampS;
    ClampT = clampT;
    if (GLTextureEngine* engine = TextureEngine())
        engine->SetWrap(*this, clampS, clampT);
}

void ZRTexture::SetFilter(int32_t mode)
{
    if (GLTextureEngine* engine = TextureEngine())
        engine->SetFilter(GLName, mode);
}

void ZRTexture::SetCompression(int32_t value) { Compression = value; }

void ZRTexture::ReadReference(ZOTFile& file)
{
    SetName(file.ReadName());
    const std::string fileName = file.ReadString();
    Settings.FileName = fileName;
    if (!fileName.empty())
        LoadFromFile(fileName);
}
