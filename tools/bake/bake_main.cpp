// tamsel-bake: writes every picture and font of the data tree from
// procedural code, the same bytes on every run.
//
//   tamsel-bake [--gallery <sheet.png>] [--model-gallery <sheet.png>] <output root>
//
// Files land under the output root by resource name (textures/..., models/...);
// a file whose bytes would not change is left alone. With --gallery, a contact
// sheet of all pictures is written as well; with --model-gallery, a sheet of
// the models rendered by the engine, which needs a display.
#include <cstdio>
#include <string>

#include "families.h"
#include "gallery.h"
#include "model_gallery.h"

namespace {

struct Arguments {
    std::string Root;
    std::string Gallery;
    std::string ModelGallery;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--gallery" && i + 1 < argc)
            arguments.Gallery = argv[++i];
        else if (argument == "--model-gallery" && i + 1 < argc)
            arguments.ModelGallery = argv[++i];
        else if (arguments.Root.empty() && !argument.empty() && argument[0] != '-')
            arguments.Root = argument;
        else
            return false;
    }
    return !arguments.Root.empty();
}

bake::Bake BakeAll(const bake::Font& font)
{
    bake::Bake bake;
    bake::BakeInterface(bake, font);
    bake::BakeSky(bake);
    bake::BakeGround(bake);
    bake::BakeFur(bake);
    bake::BakeCat(bake);
    bake::BakeButterfly(bake);
    bake::BakeProps(bake);
    return bake;
}

bool WriteAll(const std::string& root, const bake::Bake& bake, std::string& error)
{
    for (const bake::Picture& picture : bake.Pictures) {
        if (!bake::WritePicture(root, picture, error))
            return false;
    }
    for (const bake::TextFile& text : bake.Texts) {
        if (!bake::WriteText(root, text, error))
            return false;
    }
    for (const bake::ModelFile& model : bake.Models) {
        if (!bake::WriteModel(root, model, error))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: tamsel-bake [--gallery <sheet.png>] [--model-gallery <sheet.png>] <output root>\n");
        return 2;
    }
    const bake::Font font;
    const bake::Bake bake = BakeAll(font);
    std::string error;
    if (!WriteAll(arguments.Root, bake, error) ||
        (!arguments.Gallery.empty() && !bake::WritePng(arguments.Gallery, bake::ContactSheet(bake, font), error)) ||
        (!arguments.ModelGallery.empty() &&
         !bake::WriteModelGallery(arguments.Root, bake, font, arguments.ModelGallery, error))) {
        std::fprintf(stderr, "tamsel-bake: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
