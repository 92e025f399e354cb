// Texture tests: picture files under the program's textures directory, and
// read-backs of what GL holds.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gl/gl_textureengine.h"
#include "gl_test_support.h"
#include "resource/image_test_support.h"
#include "resource/resource_image.h"
#include "resource/resource_texture.h"

class TextureTest : public GLTest {
protected:
    GLTextureEngine& TE() { return *GL->TextureEngine; }

    // A 4 x 4 texture uploaded from memory and bound under its own name.
    void MakeRaw(ZRTexture& texture, int32_t format)
    {
        TE().UploadRaw(std::vector<uint8_t>(16 * BytesPerPixel(format), 0x80), texture, 4, 4, format);
        texture.SetSource(ZRTexture::kGenNone, ZRTexture::kSourceOwn);
    }

    // name carries its extension and lands under the textures directory.
    void WriteTexture(const std::string& name, const std::string& bytes)
    {
        const std::string path = "textures/" + name;
        std::filesystem::create_directories(std::filesystem::path(Dir.File(path)).parent_path());
        Dir.Write(path, bytes);
    }

    // The engine path the texture resource hands over for textures\<base>.
    std::string TexturePath(const std::string& base) const { return EngineFile("textures/" + base + ".bmp"); }

    // The read-backs bind behind the engine's back.
    static GLint Parameter(GLuint name, GLenum which, bool ofLevel0 = false)
    {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, name);
        if (ofLevel0)
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
        else
            glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
        return value;
    }

    static std::string Texels(GLuint name, GLenum layout, size_t size)
    {
        std::string texels(size, '\0');
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, layout, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
};
