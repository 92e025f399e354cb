// A baked picture or text file as it lands in the data tree, and the writer
// that puts it there: one file per resource name, rewritten only when its
// bytes change.
#pragma once

#include <string>
#include <vector>

#include "platform/platform_image.h"
#include "platform/platform_image_write.h"
#include "shapes.h"
#include "ztm.h"

namespace bake {

// The engine uploads a TGA's rows in the opposite order to the other
// formats, so TGA only suits pictures that look right either way up.
enum class FileFormat { Bmp, Jpeg, Tga, Png };

const char* Extension(FileFormat format);

struct Picture {
    // Resource name as the engine asks for it: backslashes, no extension.
    std::string Name;
    FileFormat Format = FileFormat::Png;
    // Channels stored: 1 (grey, read as alpha), 3 (RGB) or 4 (RGBA); BMP and JPEG take 3.
    int Channels = 3;
    Canvas Image;
};

struct TextFile {
    // Path under the data tree with backslashes, extension included.
    std::string Name;
    std::string Text;
};

struct ModelFile {
    // Resource name as the engine asks for it: backslashes, no extension.
    std::string Name;
    ztm::Model Model;
};

// Everything one bake produces, in a fixed order.
struct Bake {
    std::vector<Picture> Pictures;
    std::vector<TextFile> Texts;
    std::vector<ModelFile> Models;
};

platform::RawImage ToRaw(const Canvas& canvas, int channels);
platform::Bitmap24 ToBitmap(const Canvas& canvas);

// Writes under root; a picture also removes its name's files of the other
// formats, which the engine would find first. Fills error and returns false
// on the first failure.
bool WritePicture(const std::string& root, const Picture& picture, std::string& error);
bool WriteText(const std::string& root, const TextFile& text, std::string& error);
bool WriteModel(const std::string& root, const ModelFile& model, std::string& error);
// The PNG of a contact sheet or any other single picture outside the tree.
bool WritePng(const std::string& path, const Canvas& canvas, std::string& error);

}  // namespace bake
