#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "resource/image_test_support.h"
#include "resource/resource_image.h"
#include "test_support.h"

namespace {

using namespace image_files;

using Bytes = std::vector<uint8_t>;

void WritePng(const std::string& path, int width, int height, int channels, const Bytes& pixels)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = channels == 1 ? PNG_FORMAT_GRAY : channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr), 0) << image.message;
}

// A picture whose top half is one colour and bottom half another, so the row order shows.
void WriteJpeg(const std::string& path, int width, int height, Rgb top, Rgb bottom)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const Rgb c = static_cast<int>(info.next_scanline) < height / 2 ? top : bottom;
        for (int x = 0; x < width; ++x) {
            row[static_cast<size_t>(x) * 3] = c.r;
            row[static_cast<size_t>(x) * 3 + 1] = c.g;
            row[static_cast<size_t>(x) * 3 + 2] = c.b;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

Bytes PixelsOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

void ExpectNear(const uint8_t* bgr, Rgb expected)
{
    EXPECT_NEAR(bgr[0], expected.b, 8);
    EXPECT_NEAR(bgr[1], expected.g, 8);
    EXPECT_NEAR(bgr[2], expected.r, 8);
}

}  // namespace

class ImageTest : public EngineTest {
protected:
    // Writes a file under the program directory; name uses '/' between directories.
    void Put(const std::string& name, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(Dir.File(name)).parent_path());
        Dir.Write(name, bytes);
    }
    std::unique_ptr<ZRImage> Load(const std::string& name) { return std::make_unique<ZRImage>(name, nullptr); }
    std::string LastError() const
    {
        const auto lines = ConsoleLines();
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            if (line->rfind("  ERROR: ", 0) == 0)
                return *line;
        }
        return {};
    }
    size_t ErrorCount() const
    {
        size_t count = 0;
        for (const std::string& line : ConsoleLines())
            count += line.rfind("  ERROR: ", 0) == 0;
        return count;
    }
    static void ExpectNoPixels(const ZRImage& image)
    {
        EXPECT_FALSE(image.IsLoaded());
        EXPECT_EQ(image.Bitmap, nullptr);
        EXPECT_TRUE(image.Data.Pixels.empty());
        EXPECT_EQ(image.Width, 0);
        EXPECT_EQ(image.Height, 0);
        EXPECT_EQ(image.Data.Width, 0);
        EXPECT_EQ(image.Data.Height, 0);
    }
    // Loads name, which must fail with one ZR_IMAGE report naming its file.
    void ExpectRejected(const std::string& name, const std::string& fileName)
    {
        const size_t before = ErrorCount();
        const auto image = Load(name);
        ExpectNoPixels(*image);
        EXPECT_EQ(ErrorCount(), before + 1);
        const std::string error = LastError();
        EXPECT_EQ(error.rfind("  ERROR: ZR_IMAGE: ", 0), 0u) << error;
        EXPECT_NE(error.find(fileName), std::string::npos) << error;
    }
};

using ImageNaming = ImageTest;

TEST_F(ImageNaming, DefaultNameTakesLastComponentAndLogsItsLife)
{
    Put("textures/fur/fur.tga", Tga(2, 24, 1, 1, "abc"));
    {
        const auto image = Load("textures\\fur\\fur");
        EXPECT_EQ(image->GetName(), "fur");
        EXPECT_EQ(image->Settings.FileName, "textures\\fur\\fur");
        EXPECT_EQ(image->Settings.Tag, 0);
        EXPECT_EQ(ConsoleLines().back(), "Creating Image: \"fur\"");
    }
    EXPECT_EQ(ConsoleLines().back(), "Deleting Image: \"fur\"");

    ZRImage own;
    EXPECT_EQ(own.GetName(), "RESOURCE IMAGE");
    own.SetName("mine");
    own.LoadFromFile("textures\\fur\\fur");
    EXPECT_EQ(own.GetName(), "mine");
    EXPECT_EQ(ConsoleLines().back(), "Creating Image: \"mine\"");
}

TEST_F(ImageNaming, MissingFileReportsTheNameAndNeverLoadedUnloadLogsNothing)
{
    const auto image = Load("textures\\none");
    ExpectNoPixels(*image);
    EXPECT_EQ(LastError(), "  ERROR: ZT_FILE: File \"textures\\none\" not found!");
    const size_t lines = ConsoleLines().size();
    ZRImage unused;
    unused.Unload();
    EXPECT_EQ(ConsoleLines().size(), lines);
    ExpectNoPixels(unused);
}

using ImageLoaders = ImageTest;

TEST_F(ImageLoaders, BmpOfOddWidthAndEachDepthLoadsTopRowFirst)
{
    for (int bits : {24, 32, 8}) {
        SCOPED_TRACE(bits);
        const PixelFunction pixel = bits == 8 ? PixelFunction(PaletteGradient) : PixelFunction(Gradient);
        Put("pic.bmp", Bmp(5, 3, bits, pixel));
        const auto image = Load("pic");
        ASSERT_TRUE(image->IsLoaded()) << LastError();
        ASSERT_NE(image->Bitmap, nullptr);
        EXPECT_EQ(image->Width, 5);
        EXPECT_EQ(image->Height, 3);
        EXPECT_EQ(image->BitsPerPixel, 24);
        EXPECT_EQ(BitmapRows(*image->Bitmap), BgrRows(5, 3, pixel));
        EXPECT_TRUE(image->Data.Pixels.empty());
    }
}

TEST_F(ImageLoaders, JpegDecodesIntoTheBitmapTopRowFirst)
{
    const Rgb top{200, 100, 50};
    const Rgb bottom{20, 60, 220};
    WriteJpeg(Dir.File("photo.jpg"), 17, 16, top, bottom);
    const auto image = Load("photo");
    ASSERT_TRUE(image->IsLoaded()) << LastError();
    ASSERT_NE(image->Bitmap, nullptr);
    EXPECT_EQ(image->Width, 17);
    EXPECT_EQ(image->Height, 16);
    EXPECT_EQ(image->BitsPerPixel, 24);
    ExpectNear(image->Bitmap->Row(0) + 8 * 3, top);
    ExpectNear(image->Bitmap->Row(15) + 8 * 3, bottom);
    image->FlipBitmapRows();
    ExpectNear(image->Bitmap->Row(0) + 8 * 3, bottom);
}

TEST_F(ImageLoaders, TgaReversesRowsAndTurnsBgrIntoRgb)
{
    // File rows: A (first stored) then B.
    Put("rgb.tga", Tga(2, 24, 2, 2, Pack({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) + "footer"));
    const auto rgb = Load("rgb");
    ASSERT_TRUE(rgb->IsLoaded()) << LastError();
    EXPECT_EQ(rgb->Data.Format, kImageRGB);
    EXPECT_EQ(rgb->BitsPerPixel, 24);
    EXPECT_EQ(rgb->Data.Width, 2);
    EXPECT_EQ(rgb->Data.Height, 2);
    EXPECT_EQ(rgb->Data.Pixels, PixelsOf(Pack({9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4})));
    EXPECT_EQ(rgb->Bitmap, nullptr);

    Put("rgba.tga", Tga(2, 32, 1, 2, Pack({1, 2, 3, 4, 5, 6, 7, 8})));
    const auto rgba = Load("rgba");
    EXPECT_EQ(rgba->Data.Format, kImageRGBA);
    EXPECT_EQ(rgba->BitsPerPixel, 32);
    EXPECT_EQ(rgba->Data.Pixels, PixelsOf(Pack({7, 6, 5, 8, 3, 2, 1, 4})));

    Put("alpha.tga", Tga(3, 8, 3, 2, Pack({1, 2, 3, 4, 5, 6})));
    const auto alpha = Load("alpha");
    EXPECT_EQ(alpha->Data.Format, kImageAlpha);
    EXPECT_EQ(alpha->BitsPerPixel, 8);
    EXPECT_EQ(alpha->Data.Pixels, PixelsOf(Pack({4, 5, 6, 1, 2, 3})));
}

TEST_F(ImageLoaders, PngKeepsRowsAndChannels)
{
    const Bytes grey{1, 2, 3, 4, 5, 6};
    const Bytes rgb{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const Bytes rgba{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const struct {
        const char* Name;
        int Width, Height, Channels;
        const Bytes& Pixels;
        int32_t Format;
    } cases[] = {{"grey", 3, 2, 1, grey, kImageAlpha}, {"rgb", 2, 2, 3, rgb, kImageRGB}, {"rgba", 1, 4, 4, rgba, kImageRGBA}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        WritePng(Dir.File(std::string(c.Name) + ".png"), c.Width, c.Height, c.Channels, c.Pixels);
        const auto image = Load(c.Name);
        ASSERT_TRUE(image->IsLoaded()) << LastError();
        EXPECT_EQ(image->Data.Format, c.Format);
        EXPECT_EQ(image->Data.Width, c.Width);
        EXPECT_EQ(image->Data.Height, c.Height);
        EXPECT_EQ(image->Data.Pixels, c.Pixels);
        EXPECT_EQ(image->BitsPerPixel, c.Channels * 8);
    }
}

TEST_F(ImageLoaders, FirstFoundFileWinsInTheOrderBmpJpegTgaPng)
{
    Put("both.bmp", Bmp(1, 1, 24, Gradient));
    WriteJpeg(Dir.File("both.jpg"), 2, 2, {1, 2, 3}, {1, 2, 3});
    Put("both.tga", Tga(2, 24, 3, 1, std::string(9, 'x')));
    WritePng(Dir.File("both.png"), 4, 1, 1, Bytes(4, 7));
    const std::string extensions[] = {"bmp", "jpg", "tga", "png"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(extensions[i]);
        const auto image = Load("both");
        ASSERT_TRUE(image->IsLoaded()) << LastError();
        const bool bitmap = i < 2;
        EXPECT_EQ(image->Bitmap != nullptr, bitmap);
        EXPECT_EQ(image->Data.Pixels.empty(), bitmap);
        EXPECT_EQ(bitmap ? image->Width : image->Data.Width, i + 1);
        std::filesystem::remove(Dir.File("both." + extensions[i]));
    }
}

TEST_F(ImageLoaders, LoadingAgainReplacesTheOtherStore)
{
    Put("a.tga", Tga(2, 24, 1, 1, "abc"));
    Put("b.bmp", Bmp(2, 2, 24, Gradient));
    ZRImage image;
    image.LoadFromFile("a");
    image.LoadFromFile("b");
    EXPECT_TRUE(image.Data.Pixels.empty());
    EXPECT_EQ(image.Data.Width, 0);
    ASSERT_NE(image.Bitmap, nullptr);
    EXPECT_EQ(image.Width, 2);
}

using ImageBuffers = ImageTest;

TEST_F(ImageBuffers, SetDataSizesByFormatAndLeavesTheImageUnloaded)
{
    ZRImage image;
    image.SetData(4, 2, 255, kImageRGBA);
    EXPECT_EQ(image.Data.Pixels, Bytes(32, 255));
    EXPECT_FALSE(image.IsLoaded());
    image.SetData(3, 2, 9, kImageAlpha);
    EXPECT_EQ(image.Data.Pixels, Bytes(6, 9));
    image.SetData(3, 2, 9, 7);
    EXPECT_TRUE(image.Data.Pixels.empty());
    image.FlipDataRows();
    image.SetData(-1, 2, 0, kImageRGB);
    EXPECT_EQ(LastError().rfind("  ERROR: ZR_IMAGE: ", 0), 0u);
    ExpectNoPixels(image);
}

TEST_F(ImageBuffers, FlipDataRowsReversesWholeRows)
{
    ZRImage image;
    image.SetData(2, 3, 0, kImageRGB);
    for (size_t i = 0; i < image.Data.Pixels.size(); ++i)
        image.Data.Pixels[i] = static_cast<uint8_t>(i / 6);
    image.FlipDataRows();
    EXPECT_EQ(image.Data.Pixels, PixelsOf(std::string(6, '\2') + std::string(6, '\1') + std::string(6, '\0')));
}

TEST_F(ImageBuffers, CreateBlankFillsTheRoundedColour)
{
    ZRImage image;
    image.CreateBlank(3, 2, Color3{1.0f, 0.5f, 0.0f});
    ASSERT_TRUE(image.IsLoaded());
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.BitsPerPixel, 24);
    std::string pixels;
    for (int i = 0; i < 6; ++i)
        pixels += Pack({0, 128, 255});
    EXPECT_EQ(BitmapRows(*image.Bitmap), pixels);
    image.CreateBlank(0, 5, Color3{});
    EXPECT_EQ(LastError().rfind("  ERROR: ZR_IMAGE: ", 0), 0u);
    ExpectNoPixels(image);
}

TEST_F(ImageBuffers, SaveToFileWritesEveryFieldAndReadsBack)
{
    ZRImage image;
    image.CreateBlank(3, 2, Color3{1.0f, 0.5f, 0.0f});
    uint8_t* top = image.Bitmap->Row(0);
    top[0] = 1;
    top[1] = 2;
    top[2] = 3;
    ASSERT_TRUE(image.SaveToFile("shot"));
    EXPECT_EQ(ConsoleLines().back(), "Saving Bitmap to File: \"shot\"");
    std::ifstream in(Dir.File("shot.bmp"), std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 78u);
    const std::string header = "BM" + Le32(78) + Le32(0) + Le32(54) + Le32(40) + Le32(3) + Le32(2) + Le16(1) +
                               Le16(24) + Le32(0) + Le32(24) + Le32(0) + Le32(0) + Le32(0) + Le32(0);
    EXPECT_EQ(file.substr(0, 54), header);
    const std::string plain = Pack({0, 128, 255});
    const std::string pad(3, '\0');
    EXPECT_EQ(file.substr(54, 12), plain + plain + plain + pad);
    EXPECT_EQ(file.substr(66, 12), Pack({1, 2, 3}) + plain + plain + pad);

    const auto back = Load("shot");
    ASSERT_TRUE(back->IsLoaded());
    EXPECT_EQ(BitmapRows(*back->Bitmap), BitmapRows(*image.Bitmap));

    ZRImage empty;
    EXPECT_FALSE(empty.SaveToFile("nothing"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("nothing.bmp")));
}

using ImageHostile = ImageTest;

TEST_F(ImageHostile, TruncatedTgaAndBmpAtEveryLength)
{
    const std::string tga = Tga(2, 24, 3, 2, std::string(18, 'p'));
    const std::string bmp = Bmp(3, 2, 24, Gradient);
    for (const auto& [extension, whole] : {std::pair<std::string, std::string>{"tga", tga}, {"bmp", bmp}}) {
        for (size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(extension + " cut at " + std::to_string(length));
            Put("cut." + extension, whole.substr(0, length));
            ExpectRejected("cut", "cut." + extension);
        }
        std::filesystem::remove(Dir.File("cut." + extension));
    }
}

TEST_F(ImageHostile, AbsurdSizesAreRejectedBeforeAllocating)
{
    const std::string files[] = {
        Tga(2, 32, 65535, 65535, "tiny"),
        Tga(2, 32, 16384, 16384, "tiny"),
        Tga(2, 24, 0, 4, std::string(12, 'p')),
        Tga(3, 8, 16385, 1, std::string(16385, 'p')),
        Bmp(1, 1, 24, Gradient).replace(18, 8, Le32(-7) + Le32(3)),
        Bmp(1, 1, 24, Gradient).replace(18, 8, Le32(0x7FFFFFFF) + Le32(0x7FFFFFFF)),
        Bmp(1, 1, 24, Gradient).replace(18, 8, Le32(16384) + Le32(16384)),
        Bmp(1, 1, 24, Gradient).replace(18, 8, Le32(0) + Le32(1)),
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(i);
        const std::string extension = files[i].substr(0, 2) == "BM" ? "bmp" : "tga";
        Put("huge." + extension, files[i]);
        ExpectRejected("huge", "huge." + extension);
        std::filesystem::remove(Dir.File("huge." + extension));
    }
}

TEST_F(ImageHostile, UnsupportedTgaKindsAreReportedNotMisread)
{
    const std::string pixels(64, 'p');
    const std::string files[] = {
        Tga(2, 24, 2, 2, pixels, 5),   // image ID
        Tga(1, 8, 2, 2, pixels, 0, 1), // colour-mapped
        Tga(10, 24, 2, 2, pixels),     // run-length true-colour
        Tga(11, 8, 2, 2, pixels),      // run-length grey
        Tga(2, 16, 2, 2, pixels),      // 16-bit colour
        Tga(3, 24, 2, 2, pixels),      // grey of three bytes
        Tga(2, 8, 2, 2, pixels),       // true-colour of one byte
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(i);
        Put("odd.tga", files[i]);
        ExpectRejected("odd", "odd.tga");
    }
}

TEST_F(ImageHostile, DamagedJpegAndPngStreams)
{
    WriteJpeg(Dir.File("real.jpg"), 16, 16, {1, 2, 3}, {4, 5, 6});
    std::ifstream in(Dir.File("real.jpg"), std::ios::binary);
    const std::string jpeg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::string& bad : {std::string("garbage, not a picture"), jpeg.substr(0, 2), jpeg.substr(0, 200)}) {
        Put("bad.jpg", bad);
        ExpectRejected("bad", "bad.jpg");
    }
    std::filesystem::remove(Dir.File("bad.jpg"));

    WritePng(Dir.File("real.png"), 8, 8, 3, Bytes(192, 77));
    std::ifstream pngIn(Dir.File("real.png"), std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(pngIn)), std::istreambuf_iterator<char>());
    for (const std::string& bad : {std::string("garbage, not a picture"), png.substr(0, 8), png.substr(0, png.size() / 2)}) {
        Put("bad.png", bad);
        const auto image = Load("bad");
        ExpectNoPixels(*image);
        EXPECT_EQ(LastError(), "  ERROR: ZR_IMAGE: Error in DLL function \"imgload_LoadPNG\"!");
    }
}
