#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "resource/image_test_support.h"
#include "resource/resource_image.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct Baked {
    const char* Name;
    const char* Extension;
    int32_t Width, Height, Format;
    bool Tiled;
};

const Baked kPictures[] = {
    {"textures\\interface\\loading", "png", 512, 512, kImageRGB, false},
    {"textures\\interface\\qel", "png", 128, 32, kImageRGBA, false},
    {"textures\\fonts\\lcd", "png", 512, 512, kImageRGB, false},
    {"textures\\skybox\\north", "jpg", 512, 512, kImageRGB, false},
    {"textures\\skybox\\east", "jpg", 512, 512, kImageRGB, false},
    {"textures\\skybox\\south", "jpg", 512, 512, kImageRGB, false},
    {"textures\\skybox\\west", "jpg", 512, 512, kImageRGB, false},
    {"textures\\skybox\\top", "jpg", 512, 512, kImageRGB, false},
    {"textures\\skybox\\bottom", "jpg", 512, 512, kImageRGB, false},
    {"textures\\skybox\\sun", "png", 256, 256, kImageRGBA, false},
    {"textures\\skybox\\stars", "png", 512, 512, kImageRGBA, false},
    {"textures\\grass", "jpg", 512, 512, kImageRGB, true},
    {"textures\\detail", "tga", 256, 256, kImageRGB, true},
    {"textures\\lawn", "png", 256, 256, kImageRGBA, true},
    {"textures\\lawn_blade", "png", 256, 256, kImageRGBA, false},
    {"textures\\stone\\stone", "bmp", 512, 512, kImageRGB, true},
    {"textures\\stone\\stone_normal", "bmp", 512, 512, kImageRGB, true},
    {"textures\\fur\\fur", "jpg", 512, 512, kImageRGB, true},
    {"textures\\fur\\furtexture", "tga", 512, 512, kImageRGBA, true},
    {"textures\\fur\\rules", "png", 256, 256, kImageRGBA, false},
    {"textures\\butterfly\\wing", "png", 256, 256, kImageRGBA, false},
    // Grain, boards and shingle rows put edges inside these pictures as sharp
    // as any seam, so the seam measure cannot judge them.
    {"textures\\props\\wood", "jpg", 256, 256, kImageRGB, false},
    {"textures\\props\\planks", "jpg", 256, 256, kImageRGB, false},
    {"textures\\props\\shingles", "jpg", 256, 256, kImageRGB, false},
};

// The font's width file and the six models.
constexpr size_t kOtherFiles = 1 + 6;

fs::path ProgramDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// Exit code of the bake tool beside the test program, run on root.
int RunBake(const std::string& root)
{
    const int status = std::system(("'" + (ProgramDirectory() / "tamsel-bake").string() + "' '" + root + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file under root by relative path, with its bytes.
std::map<std::string, std::string> ReadTree(const std::string& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = image_files::ReadFile(entry.path().string());
    }
    return files;
}

// The sum of each pixel's bytes, whichever store the image filled.
struct Levels {
    explicit Levels(const ZRImage& image)
    {
        const bool bitmap = image.Bitmap != nullptr;
        W = bitmap ? image.Width : image.Data.Width;
        H = bitmap ? image.Height : image.Data.Height;
        const size_t channels = bitmap ? 3 : static_cast<size_t>(BytesPerPixel(image.Data.Format));
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const uint8_t* pixel = bitmap ? image.Bitmap->Row(y) + 3 * x
                                              : image.Data.Pixels.data() + (size_t(y) * W + x) * channels;
                Sums.push_back(std::accumulate(pixel, pixel + channels, 0.0f));
            }
        }
    }
    // Mean difference between line a of this picture and line b of other:
    // columns read top to bottom, or rows left to right.
    float Difference(int a, const Levels& other, int b, bool byRows) const
    {
        const int length = byRows ? W : H;
        float sum = 0.0f;
        for (int i = 0; i < length; ++i)
            sum += std::fabs(byRows ? At(i, a) - other.At(i, b) : At(a, i) - other.At(b, i));
        return sum / length;
    }
    float At(int x, int y) const { return Sums[size_t(y) * W + x]; }
    int W = 0;
    int H = 0;
    std::vector<float> Sums;
};

// An edge where two pictures meet may differ little more than neighbouring
// lines inside the first one do.
void ExpectSeamless(const Levels& one, int a, const Levels& other, int b, bool byRows)
{
    const int lines = byRows ? one.H : one.W;
    float inner = 0.0f;
    for (int i = 0; i + 1 < lines; ++i)
        inner += one.Difference(i, one, i + 1, byRows);
    EXPECT_LE(one.Difference(a, other, b, byRows), 1.5f * inner / (lines - 1) + 1.0f) << (byRows ? "rows" : "columns");
}

}  // namespace

class BakeImages : public EngineTest {
protected:
    // The build bakes the data tree beside the test program; the tests load a copy.
    void SetUp() override
    {
        EngineTest::SetUp();
        fs::copy(ProgramDirectory() / "textures", Dir.File("textures"), fs::copy_options::recursive);
    }
};

TEST_F(BakeImages, EveryPictureLoadsWithItsSizeAndLayoutAndTiledOnesWrapWithoutASeam)
{
    for (const Baked& picture : kPictures) {
        SCOPED_TRACE(picture.Name);
        const ZRImage image(picture.Name, nullptr);
        ASSERT_TRUE(image.IsLoaded());
        const bool bitmap = std::string(picture.Extension) == "jpg" || std::string(picture.Extension) == "bmp";
        EXPECT_EQ(image.Bitmap != nullptr, bitmap);
        EXPECT_EQ(bitmap ? image.Width : image.Data.Width, picture.Width);
        EXPECT_EQ(bitmap ? image.Height : image.Data.Height, picture.Height);
        EXPECT_TRUE(bitmap || image.Data.Format == picture.Format);
        if (picture.Tiled) {
            const Levels levels(image);
            ExpectSeamless(levels, levels.W - 1, levels, 0, false);
            ExpectSeamless(levels, levels.H - 1, levels, 0, true);
        }
    }
    for (const std::string& line : ConsoleLines())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

TEST_F(BakeImages, SkyFacesMeetAlongTheCubesEdges)
{
    const auto face = [](const std::string& side) { return Levels(ZRImage("textures\\skybox\\" + side, nullptr)); };
    const Levels n = face("north"), e = face("east"), s = face("south"), w = face("west");
    const int last = n.W - 1;
    ExpectSeamless(n, last, e, 0, false);
    ExpectSeamless(e, last, s, 0, false);
    ExpectSeamless(s, last, w, 0, false);
    ExpectSeamless(w, last, n, 0, false);
    ExpectSeamless(face("top"), last, n, 0, true);
    ExpectSeamless(face("bottom"), 0, n, last, true);
}

// The second bake finds a damaged picture and a stale one in another format,
// which the loader would take before the baked file.
TEST(BakeRuns, GiveTheSameBytesOverDamagedAndStaleFiles)
{
    const TempDir first, second;
    ASSERT_EQ(RunBake(first.Path), 0);
    EXPECT_EQ(ReadTree(first.Path).size(), std::size(kPictures) + kOtherFiles);
    fs::create_directories(second.File("textures/fonts"));
    second.Write("textures/fonts/lcd.png", "damaged");
    second.Write("textures/grass.bmp", "stale");
    ASSERT_EQ(RunBake(second.Path), 0);
    EXPECT_EQ(ReadTree(second.Path), ReadTree(first.Path));
}
