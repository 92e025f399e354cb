#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "memory_test_support.h"
#include "resource/image_test_support.h"
#include "resource/resource_image.h"
#include "test_support.h"

using namespace image_files;

class ImageTest : public EngineTest {
protected:
    // Writes a file under the program directory; name uses '/' between directories.
    void Put(const std::string& name, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(Dir.File(name)).parent_path());
        Dir.Write(name, bytes);
    }
    std::unique_ptr<ZRImage> Load(const std::string& name) { return std::make_unique<ZRImage>(name, nullptr); }
    std::vector<std::string> Errors() const
    {
        std::vector<std::string> lines = ConsoleLines(), errors;
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(errors),
                     [](const std::string& line) { return line.rfind("  ERROR: ", 0) == 0; });
        return errors;
    }
    std::string LastError() const { return Errors().empty() ? "" : Errors().back(); }
    static void ExpectNoPixels(const ZRImage& image)
    {
        EXPECT_FALSE(image.IsLoaded());
        EXPECT_TRUE(image.Bitmap == nullptr && image.Data.Pixels.empty());
        EXPECT_EQ(std::vector<int32_t>({image.Width, image.Height, image.Data.Width, image.Data.Height}),
                  std::vector<int32_t>(4, 0));
    }
    // Loads name, which must fail with one ZR_IMAGE report naming its file.
    void ExpectRejected(const std::string& name, const std::string& fileName)
    {
        const size_t before = Errors().size();
        ExpectNoPixels(*Load(name));
        EXPECT_EQ(Errors().size(), before + 1);
        const std::string error = LastError();
        EXPECT_EQ(error.rfind("  ERROR: ZR_IMAGE: ", 0), 0u) << error;
        EXPECT_NE(error.find(fileName), std::string::npos) << error;
    }
};

using ImageLoaders = ImageTest;

TEST_F(ImageLoaders, TgaTurnsBgrIntoRgbAndRowsUpsideDownPngKeepsBoth)
{
    // File, its bytes, format, bits per pixel, width, height, and the pixels.
    const std::tuple<std::string, std::string, int32_t, int32_t, int32_t, int32_t, std::string> cases[] = {
        // File rows: A (first stored) then B; the trailing bytes are not pixels.
        {"rgb.tga", Tga(2, 24, 2, 2, Pack({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) + "footer"), kImageRGB, 24, 2, 2,
         Pack({9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4})},
        {"rgba.tga", Tga(2, 32, 1, 2, Pack({1, 2, 3, 4, 5, 6, 7, 8})), kImageRGBA, 32, 1, 2,
         Pack({7, 6, 5, 8, 3, 2, 1, 4})},
        {"alpha.tga", Tga(3, 8, 3, 2, Pack({1, 2, 3, 4, 5, 6})), kImageAlpha, 8, 3, 2, Pack({4, 5, 6, 1, 2, 3})},
        {"grey.png", PngFile({3, 2, 8, 0}, PngRows({"\1\2\3", "\4\5\6"})), kImageAlpha, 8, 3, 2, "\1\2\3\4\5\6"},
        {"clear.png", PngFile({1, 2, 8, 6}, PngRows({"\1\2\3\4", "\5\6\7\x08"})), kImageRGBA, 32, 1, 2,
         "\1\2\3\4\5\6\7\x08"},
    };
    for (const auto& [file, bytes, format, bits, width, height, pixels] : cases) {
        SCOPED_TRACE(file);
        Put(file, bytes);
        const auto image = Load(file.substr(0, file.find('.')));
        ASSERT_TRUE(image->IsLoaded()) << LastError();
        const TIData& data = image->Data;
        EXPECT_EQ(std::vector<int32_t>({data.Format, image->BitsPerPixel, data.Width, data.Height}),
                  std::vector<int32_t>({format, bits, width, height}));
        EXPECT_EQ(std::string(data.Pixels.begin(), data.Pixels.end()), pixels);
        EXPECT_EQ(image->Bitmap, nullptr);
    }
}

// Unless the caller picked one, the first of bmp, jpg, tga and png is found.
TEST_F(ImageLoaders, TheFirstFoundFileWinsUnlessTheCallerPickedOne)
{
    Put("pick.tga", Tga(2, 24, 1, 1, "abc"));
    Put("pick.png", PngFile({4, 1, 8, 0}, PngRows({"\7\7\7\7"})));
    EXPECT_EQ(Load("pick")->Data.Width, 1);
    ZRImage picked;
    picked.LoadFromFile("pick", "png");
    EXPECT_EQ(picked.Data.Width, 4);

    // Loading again must drop the store the first file filled; the image keeps its first name.
    Put("other.png", PngFile({4, 1, 8, 0}, PngRows({"\7\7\7\7"})));
    Put("other.bmp", Bmp(2, 2, 24, Gradient));
    picked.LoadFromFile("other");
    EXPECT_EQ(picked.GetName(), "pick");
    EXPECT_TRUE(picked.Data.Pixels.empty() && picked.Data.Width == 0);
    ASSERT_NE(picked.Bitmap, nullptr);
    EXPECT_EQ(picked.Width, 2);
    picked.LoadFromFile("pick", "bmp");
    ExpectNoPixels(picked);
    EXPECT_EQ(LastError(), "  ERROR: ZT_FILE: File \"pick\" not found!");
}

using ImageBuffers = ImageTest;

// The texture tests' empty textures show SetData sizing RGBA by its format.
TEST_F(ImageBuffers, FlipDataRowsReversesWholeRowsAndSetDataRefusesOddSizes)
{
    ZRImage image;
    image.SetData(2, 3, 0, kImageRGB);
    for (size_t i = 0; i < image.Data.Pixels.size(); ++i)
        image.Data.Pixels[i] = static_cast<uint8_t>(i / 6);
    image.FlipDataRows();
    EXPECT_EQ(image.Data.Pixels, std::vector<uint8_t>({2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0}));

    // An unknown format holds no bytes, and flipping it must not touch memory.
    image.SetData(3, 2, 9, 7);
    EXPECT_TRUE(image.Data.Pixels.empty());
    image.FlipDataRows();
    image.SetData(-1, 2, 0, kImageRGB);
    EXPECT_EQ(LastError().rfind("  ERROR: ZR_IMAGE: ", 0), 0u);
    ExpectNoPixels(image);
}

TEST_F(ImageBuffers, CreateBlankRoundsTheColourAndSavesUnderTheProgramDirectory)
{
    ZRImage image;
    image.CreateBlank(3, 2, Color3{1.0f, 0.5f, 0.0f});
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.BitsPerPixel, 24);
    ASSERT_TRUE(image.SaveToFile("shot"));
    EXPECT_EQ(ReadFile(Dir.File("shot.bmp")), Bmp(3, 2, 24, [](int, int) { return Rgb{255, 128, 0}; }));

    image.CreateBlank(0, 5, Color3{});
    EXPECT_EQ(LastError().rfind("  ERROR: ZR_IMAGE: ", 0), 0u);
    ExpectNoPixels(image);
    EXPECT_FALSE(image.SaveToFile("nothing"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("nothing.bmp")));
}

using ImageHostile = ImageTest;

TEST_F(ImageHostile, TruncatedAbsurdAndUnsupportedFilesAreReportedNotMisread)
{
    const std::string pixels(64, 'p');
    std::vector<std::pair<std::string, std::string>> files = {
        {"tga", Tga(2, 32, 65535, 65535, "tiny")},
        {"tga", Tga(2, 32, 16384, 16384, "tiny")},
        {"tga", Tga(2, 24, 0, 4, std::string(12, 'p'))},
        {"tga", Tga(3, 8, 16385, 1, std::string(16385, 'p'))},
        {"bmp", Bmp(1, 1, 24, Gradient).replace(18, 8, Le32(0x7FFFFFFF) + Le32(0x7FFFFFFF))},
        {"tga", Tga(2, 24, 2, 2, pixels, 5)},    // image ID
        {"tga", Tga(1, 8, 2, 2, pixels, 0, 1)},  // colour-mapped
        {"tga", Tga(10, 24, 2, 2, pixels)},      // run-length true-colour
        {"tga", Tga(11, 8, 2, 2, pixels)},       // run-length grey
        {"tga", Tga(2, 16, 2, 2, pixels)},       // 16-bit colour
        {"tga", Tga(3, 24, 2, 2, pixels)},       // grey of three bytes
        {"tga", Tga(2, 8, 2, 2, pixels)},        // true-colour of one byte
        {"jpg", "garbage, not a picture"},
    };
    // And every cut of two readable files.
    const std::pair<std::string, std::string> readable[] = {{"tga", Tga(2, 24, 3, 2, pixels.substr(0, 18))},
                                                            {"bmp", Bmp(3, 2, 24, Gradient)}};
    for (const auto& [extension, whole] : readable) {
        for (size_t length = 0; length < whole.size(); ++length)
            files.emplace_back(extension, whole.substr(0, length));
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string name = "bad" + std::to_string(i);
        SCOPED_TRACE(name + "." + files[i].first + " of " + std::to_string(files[i].second.size()) + " bytes");
        Put(name + "." + files[i].first, files[i].second);
        ExpectRejected(name, name + "." + files[i].first);
    }

    // PNG failures come back from the image library without a reason, but the file is named.
    Put("bad.png", PngFile({8, 8, 8, 2}, PngRows({std::string(24, 'x')})).substr(0, 60));
    ExpectNoPixels(*Load("bad"));
    EXPECT_EQ(LastError(), "  ERROR: ZR_IMAGE: Can't load image \"" + EngineFile("bad.png") +
                               "\": Error in DLL function \"imgload_LoadPNG\"");
}

// TGA files hold to the pixel limit (4096 x 4096) too: one at it loads, one
// pixel row past it is refused, whole or claimed by a few bytes, naming the limit.
TEST_F(ImageHostile, TgaPastThePixelLimitRefusedNamingIt)
{
    Put("at.tga", Tga(3, 8, kLimitSide, kLimitSide, std::string(size_t{kLimitSide} * kLimitSide, 'p')));
    EXPECT_TRUE(Load("at")->IsLoaded());
    Put("past.tga", Tga(3, 8, kLimitSide, kLimitSide + 1, std::string(size_t{kLimitSide} * (kLimitSide + 1), 'p')));
    ExpectRejected("past", "past.tga");
    EXPECT_NE(LastError().find(kPixelLimit), std::string::npos) << LastError();

    Put("claim.tga", Tga(2, 32, platform::kMaxImageSide, platform::kMaxImageSide, "tiny"));
    const auto refusedNamingTheLimit = [&] {
        return !Load("claim")->IsLoaded() && LastError().find(kPixelLimit) != std::string::npos;
    };
    EXPECT_TRUE(TrueInLittleMemory(kLoadHeadroom, refusedNamingTheLimit));
    EXPECT_TRUE(refusedNamingTheLimit()) << LastError();
}
