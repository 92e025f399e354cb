// Texture tests: picture files built byte by byte under the program's textures
// directory, and read-backs of what GL holds.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "gl/gl_textureengine.h"
#include "gl_test_support.h"
#include "platform/platform_image.h"
#include "resource/resource_texture.h"

// Each value as size bytes, little-endian unless told otherwise.
inline std::string Bytes(std::initializer_list<int64_t> values, int size, bool bigEndian = false)
{
    std::string bytes;
    for (int64_t value : values)
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>(value >> (8 * (bigEndian ? size - 1 - i : i)));
    return bytes;
}

// A 24-bit BMP; rows bottom row first, pixels blue-green-red, unpadded.
inline std::string MakeBMP(int width, int height, const std::string& rows)
{
    const int rowSize = (width * 3 + 3) / 4 * 4;
    std::string bytes = "BM" + Bytes({54 + rowSize * height, 0, 54, 40, width, height}, 4) + Bytes({1, 24}, 2) +
                        Bytes({0, rowSize * height, 0, 0, 0, 0}, 4);
    for (int row = 0; row < height; ++row)
        bytes += rows.substr(row * width * 3, width * 3) + std::string(rowSize - width * 3, '\0');
    return bytes;
}

// An uncompressed true-colour TGA; pixels in file order, blue-green-red(-alpha).
inline std::string MakeTGA(int width, int height, int depth, const std::string& pixels)
{
    return std::string("\0\0\x02\0\0\0\0\0\0\0\0\0", 12) + Bytes({width, height}, 2) + Bytes({depth, 0}, 1) + pixels;
}

inline std::string PngChunk(const std::string& type, const std::string& body)
{
    const std::string typed = type + body;
    const uint32_t crc = platform::Crc32(reinterpret_cast<const uint8_t*>(typed.data()), typed.size());
    return Bytes({static_cast<int64_t>(body.size())}, 4, true) + typed + Bytes({crc}, 4, true);
}

// An 8-bit RGBA PNG, rows top first; the rows go into one stored deflate block.
inline std::string MakePNG(int width, int height, const std::string& rows)
{
    std::string raw;
    for (int row = 0; row < height; ++row)
        raw += '\0' + rows.substr(row * width * 4, width * 4);
    uint32_t a = 1;
    uint32_t b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto size = static_cast<int64_t>(raw.size());
    const std::string deflated =
        std::string("\x78\x01\x01", 3) + Bytes({size, ~size}, 2) + raw + Bytes({(b << 16) | a}, 4, true);
    return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", Bytes({width, height}, 4, true) + std::string("\x08\x06\0\0\0", 5)) +
           PngChunk("IDAT", deflated) + PngChunk("IEND", "");
}

class TextureTest : public GLTest {
protected:
    GLTextureEngine& TE() { return *GL->TextureEngine; }

    // name carries its extension and lands under the textures directory.
    void WriteTexture(const std::string& name, const std::string& bytes)
    {
        const std::string path = "textures/" + name;
        std::filesystem::create_directories(std::filesystem::path(Dir.File(path)).parent_path());
        Dir.Write(path, bytes);
    }

    // The engine path the texture resource hands over for textures\<base>.
    std::string TexturePath(const std::string& base) const { return EngineFile("textures/" + base + ".bmp"); }

    bool Logged(const std::string& line) const
    {
        const std::vector<std::string> lines = ConsoleLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

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
