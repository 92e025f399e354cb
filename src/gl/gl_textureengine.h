// The texture engine: turns image files into GL textures with mipmaps, sets
// their filters and wrap modes, and binds textures to texture units, reaching
// GL only when a unit does not already hold the texture.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/zot_object.h"

class ZRTexture;

namespace platform {
class Bitmap24;
}

struct TTextureSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

class GLTextureEngine : public ZOTObject {
public:
    static constexpr int32_t kUnits = 8;

    static constexpr int32_t kFilterNearest = 0;
    static constexpr int32_t kFilterLinear = 1;
    static constexpr int32_t kFilterMipmapNearest = 2;
    static constexpr int32_t kFilterMipmapLinear = 3;

    explicit GLTextureEngine(ZOTOwner* parent);

    void Init();
    void SetUseCompression(bool on);
    void SetAnisotropy(bool on, float degree);
    void SetDefaultFilter(int32_t mode);
    void Enable();
    void Disable();

    // fileName is a full engine path; the extension is replaced by each one tried.
    void LoadTexture(const std::string& fileName, ZRTexture& texture);
    void UploadBitmap(const platform::Bitmap24& bitmap, ZRTexture& texture);
    void UploadRaw(const std::vector<uint8_t>& pixels, ZRTexture& texture, int32_t width, int32_t height,
                   int32_t format);
    void SetFilter(GLuint glName, int32_t mode);
    void SetWrap(const ZRTexture& texture, bool clampS, bool clampT);
    TTextureSize GetTextureSize(GLuint glName);
    void DeleteTexture(GLuint glName);
    static int32_t NextPowerOfTwo(int32_t n);
    // The highest unit index for a driver that offers driverUnits units.
    static int32_t HighestUnit(int32_t driverUnits);

    void Bind(ZRTexture* texture, int32_t unit);
    void BindSingle(ZRTexture* texture);
    void DisableUnit(int32_t unit);
    // Leaves unit 0 active.
    void DisableAll();
    // Forgets which textures are bound, so the next bind reaches GL again.
    void ResetBound();
    // Drops every reference to a texture that is about to be destroyed.
    void Forget(const ZRTexture* texture);
    void MultiTexCoord(int32_t unit, float s, float t);
    void AlphaTest(bool on);
    void AlphaTestAt(bool on, float reference);
    void SphereMap();
    void Disable3D();

    PFNGLMULTITEXCOORD1FARBPROC MultiTexCoord1f = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC MultiTexCoord2f = nullptr;
    PFNGLMULTITEXCOORD3FARBPROC MultiTexCoord3f = nullptr;
    PFNGLMULTITEXCOORD4FARBPROC MultiTexCoord4f = nullptr;
    PFNGLMULTITEXCOORD2FVARBPROC MultiTexCoord2fv = nullptr;
    PFNGLACTIVETEXTUREARBPROC ActiveTexture = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC ClientActiveTexture = nullptr;
    PFNGLTEXIMAGE3DPROC TexImage3D = nullptr;

    int32_t MaxUnit = 0;
    bool Supports3D = false;
    bool SupportsCompression = false;
    bool UseCompression = false;
    bool SupportsAnisotropy = false;
    float MaxAnisotropy = 0.0f;
    bool UseAnisotropy = false;
    float Anisotropy = 0.0f;
    int32_t DefaultFilter = kFilterMipmapLinear;
    ZRTexture* SharedTexture1 = nullptr;
    ZRTexture* SharedTexture2 = nullptr;
    bool AlphaTestRGBA = true;
    bool NoAlphaTestWhenBlended = true;
    float AlphaReference = 0.5f;
    ZRTexture* Bound[kUnits] = {};
    bool Enabled = true;

private:
    // Pixels ready for gluBuild2DMipmaps: tightly packed rows in GL's order.
    struct TUpload {
        const uint8_t* Pixels = nullptr;
        std::size_t Size = 0;
        int32_t Width = 0;
        int32_t Height = 0;
        int32_t Format = 0;
        GLenum Layout = GL_RGB;
    };

    void DetectMultitexture();
    void Detect3D();
    void DetectCompression();
    void DetectAnisotropy();
    void FetchMultitextureEntries();
    void LoadBitmapFile(const std::string& path, ZRTexture& texture);
    // Loads exactly <baseName>.<extension> through the image resource; flipRows
    // turns rows stored top row first into GL's bottom-first order.
    void LoadImageFile(const std::string& baseName, const char* extension, bool flipRows, ZRTexture& texture);
    void Upload(ZRTexture& texture, const TUpload& upload);
    bool HoldsPixels(const TUpload& upload) const;
    GLenum InternalFormat(int32_t format, int32_t compression) const;
    GLenum UploadFormat(int32_t format) const;
    // Every bind made to edit a texture goes through here, because it moves
    // the active unit's binding away from what Bound records.
    void BindForEdit(GLuint glName);
    void SelectUnit(int32_t unit);
    bool IsUnit(int32_t unit) const;
    bool CurrentMaterialBlends() const;
    void SetAlphaTestFor(const ZRTexture& texture);
};
