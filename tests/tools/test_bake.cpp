#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gl/gl_test_support.h"
#include "resource/resource_font.h"
#include "resource/resource_image.h"
#include "resource/resource_texture.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct Baked {
    const char* Name;
    const char* Extension;
    int32_t Width;
    int32_t Height;
    int32_t Format;
};

const Baked kPictures[] = {
    {"textures\\interface\\loading", "png", 512, 512, kImageRGB},
    {"textures\\interface\\qel", "png", 128, 32, kImageRGBA},
    {"textures\\fonts\\lcd", "png", 512, 512, kImageRGB},
    {"textures\\skybox\\north", "jpg", 512, 512, kImageRGB},
    {"textures\\skybox\\east", "jpg", 512, 512, kImageRGB},
    {"textures\\skybox\\south", "jpg", 512, 512, kImageRGB},
    {"textures\\skybox\\west", "jpg", 512, 512, kImageRGB},
    {"textures\\skybox\\top", "jpg", 512, 512, kImageRGB},
    {"textures\\skybox\\bottom", "jpg", 512, 512, kImageRGB},
    {"textures\\skybox\\sun", "png", 256, 256, kImageRGBA},
    {"textures\\skybox\\stars", "png", 512, 512, kImageRGBA},
    {"textures\\grass", "jpg", 512, 512, kImageRGB},
    {"textures\\detail", "tga", 256, 256, kImageRGB},
    {"textures\\lawn", "png", 256, 256, kImageRGBA},
    {"textures\\lawn_blade", "png", 256, 256, kImageRGBA},
    {"textures\\stone\\stone", "bmp", 512, 512, kImageRGB},
    {"textures\\stone\\stone_normal", "bmp", 512, 512, kImageRGB},
    {"textures\\fur\\fur", "jpg", 512, 512, kImageRGB},
    {"textures\\fur\\furtexture", "tga", 512, 512, kImageRGBA},
    {"textures\\fur\\rules", "png", 256, 256, kImageRGBA},
};

const char* const kTiled[] = {
    "textures\\grass",
    "textures\\detail",
    "textures\\lawn",
    "textures\\stone\\stone",
    "textures\\stone\\stone_normal",
    "textures\\fur\\fur",
    "textures\\fur\\furtexture",
};

std::string TreeFile(const std::string& name)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

fs::path ProgramDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// Exit code of the bake tool beside the test program, run on root.
int RunBake(const std::string& root)
{
    const fs::path tool = ProgramDirectory() / "tamsel-bake";
    const int status = std::system(("'" + tool.string() + "' '" + root + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file under root by relative path, with its bytes.
std::map<std::string, std::string> ReadTree(const std::string& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    return files;
}

// The build bakes the data tree beside the test program; the tests load
// copies of what it baked.
void CopyBakedTree(const TempDir& to)
{
    fs::copy(ProgramDirectory() / "textures", to.File("textures"), fs::copy_options::recursive);
}

// The sum of a pixel's bytes, whichever store the image filled.
class Levels {
public:
    explicit Levels(const ZRImage& image)
        : W(image.Bitmap ? image.Width : image.Data.Width),
          H(image.Bitmap ? image.Height : image.Data.Height),
          Image(image)
    {
    }
    int Width() const { return W; }
    int Height() const { return H; }
    float At(int x, int y) const
    {
        const size_t channels = Image.Bitmap ? 3 : static_cast<size_t>(BytesPerPixel(Image.Data.Format));
        const uint8_t* pixel = Image.Bitmap ? Image.Bitmap->Row(y) + 3 * x
                                            : Image.Data.Pixels.data() + (static_cast<size_t>(y) * W + x) * channels;
        float sum = 0.0f;
        for (size_t c = 0; c < channels; ++c)
            sum += pixel[c];
        return sum;
    }

private:
    int W;
    int H;
    const ZRImage& Image;
};

// Mean difference between column a of one picture and column b of another
// (rows when byRows), read top to bottom (or left to right).
float EdgeDifference(const Levels& one, int a, const Levels& other, int b, bool byRows)
{
    const int length = byRows ? one.Width() : one.Height();
    float sum = 0.0f;
    for (int i = 0; i < length; ++i)
        sum += std::fabs(byRows ? one.At(i, a) - other.At(i, b) : one.At(a, i) - other.At(b, i));
    return sum / length;
}

// Mean difference between neighbouring columns (rows) inside the picture.
float InnerDifference(const Levels& levels, bool byRows)
{
    const int lines = byRows ? levels.Height() : levels.Width();
    float sum = 0.0f;
    for (int i = 0; i + 1 < lines; ++i)
        sum += EdgeDifference(levels, i, levels, i + 1, byRows);
    return sum / (lines - 1);
}

}  // namespace

class BakeImages : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        CopyBakedTree(Dir);
    }
    std::unique_ptr<ZRImage> Load(const std::string& name) const { return std::make_unique<ZRImage>(name, nullptr); }
    bool AnyError() const
    {
        const std::vector<std::string> lines = ConsoleLines();
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& line) { return line.find("ERROR") != std::string::npos; });
    }
};

TEST_F(BakeImages, EveryPictureLoadsWithItsSizeAndLayout)
{
    for (const Baked& picture : kPictures) {
        SCOPED_TRACE(picture.Name);
        const auto image = Load(picture.Name);
        ASSERT_TRUE(image->IsLoaded());
        const bool bitmap = std::string(picture.Extension) == "jpg" || std::string(picture.Extension) == "bmp";
        EXPECT_EQ(image->Bitmap != nullptr, bitmap);
        EXPECT_EQ(bitmap ? image->Width : image->Data.Width, picture.Width);
        EXPECT_EQ(bitmap ? image->Height : image->Data.Height, picture.Height);
        if (!bitmap) {
            EXPECT_EQ(image->Data.Format, picture.Format);
        }
    }
    EXPECT_FALSE(AnyError());
}

TEST_F(BakeImages, TiledPicturesMeetThemselvesWithoutASeam)
{
    for (const char* name : kTiled) {
        SCOPED_TRACE(name);
        const auto image = Load(name);
        const Levels levels(*image);
        ASSERT_GT(levels.Width(), 1);
        for (bool byRows : {false, true}) {
            const int last = (byRows ? levels.Height() : levels.Width()) - 1;
            EXPECT_LE(EdgeDifference(levels, last, levels, 0, byRows), 1.5f * InnerDifference(levels, byRows) + 1.0f)
                << (byRows ? "rows" : "columns");
        }
    }
}

TEST_F(BakeImages, SkyFacesMeetAlongTheCubesEdges)
{
    const auto face = [this](const char* side) { return Load(std::string("textures\\skybox\\") + side); };
    const auto north = face("north"), east = face("east"), south = face("south"), west = face("west");
    const auto top = face("top"), bottom = face("bottom");
    const Levels n(*north), e(*east), s(*south), w(*west), t(*top), b(*bottom);
    const int last = n.Width() - 1;
    const float inner = InnerDifference(n, false);
    EXPECT_LE(EdgeDifference(n, last, e, 0, false), 1.5f * inner + 1.0f);
    EXPECT_LE(EdgeDifference(e, last, s, 0, false), 1.5f * inner + 1.0f);
    EXPECT_LE(EdgeDifference(s, last, w, 0, false), 1.5f * inner + 1.0f);
    EXPECT_LE(EdgeDifference(w, last, n, 0, false), 1.5f * inner + 1.0f);
    EXPECT_LE(EdgeDifference(t, last, n, 0, true), 1.5f * InnerDifference(t, true) + 1.0f);
    EXPECT_LE(EdgeDifference(b, 0, n, last, true), 1.5f * InnerDifference(b, true) + 1.0f);
}

// Two bakes: the first into an empty directory, the second over a copy of
// it with every file older, one damaged and one left over in another format.
// Both give the same bytes, nothing but the pictures and the width file, and
// the second writes only what differed.
TEST(BakeRuns, GiveTheSameBytesAndWriteOnlyWhatDiffers)
{
    const TempDir first, second;
    ASSERT_EQ(RunBake(first.Path), 0);
    std::map<std::string, std::string> expected{{"textures/fonts/lcd.txt", ""}};
    for (const Baked& picture : kPictures)
        expected[TreeFile(picture.Name) + "." + picture.Extension] = "";
    std::map<std::string, std::string> names = ReadTree(first.Path);
    for (auto& file : names)
        file.second.clear();
    EXPECT_EQ(names, expected);

    fs::copy(first.Path, second.Path, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const auto earlier = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : fs::recursive_directory_iterator(second.Path))
        fs::last_write_time(entry.path(), earlier);
    second.Write("textures/fonts/lcd.png", "damaged");
    second.Write("textures/grass.bmp", "left over");
    ASSERT_EQ(RunBake(second.Path), 0);
    EXPECT_EQ(ReadTree(second.Path), ReadTree(first.Path));
    EXPECT_EQ(fs::last_write_time(second.File("textures/grass.jpg")), earlier);
    EXPECT_EQ(fs::last_write_time(second.File("textures/fonts/lcd.txt")), earlier);
}

class BakeTextures : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        CopyBakedTree(Dir);
    }
};

TEST_F(BakeTextures, EveryPictureUploadsWithItsSizeAndFormat)
{
    for (const Baked& picture : kPictures) {
        SCOPED_TRACE(picture.Name);
        ZRTexture texture(picture.Name, nullptr);
        EXPECT_NE(texture.GLName, 0u);
        EXPECT_EQ(texture.Width, picture.Width);
        EXPECT_EQ(texture.Height, picture.Height);
        EXPECT_EQ(texture.Format, picture.Format);
    }
}

TEST_F(BakeTextures, TheFontHasAWidthForEveryPrintableCharacterOnly)
{
    ZRFont font("textures\\fonts\\lcd", 0, nullptr);
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.FontTexture->Width, 512);
    for (int c = 0; c < ZRFont::kCodes; ++c) {
        SCOPED_TRACE(c);
        if (c >= 32 && c <= 126) {
            EXPECT_GE(font.CharWidths[c], 4);
            EXPECT_LE(font.CharWidths[c], 26);
        } else {
            EXPECT_EQ(font.CharWidths[c], 0);
        }
    }
    EXPECT_LT(font.CharWidths['i'], font.CharWidths['m']);
    EXPECT_EQ(font.CharWidths['0'], font.CharWidths['8']);
}
