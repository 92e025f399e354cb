#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "memory_test_support.h"
#include "platform/platform_checksum.h"
#include "platform/platform_image.h"
#include "resource/image_test_support.h"
#include "test_support.h"

using namespace platform;
using namespace image_files;
using namespace std::string_literals;

namespace {

std::string Bgr(uint32_t rgb) { return {char(rgb), char(rgb >> 8), char(rgb >> 16)}; }

// 3 x 2, top row red, green, blue; bottom row grey, white, black; rows padded to 12 bytes.
const std::string kTopRow = Bgr(0xFF0000) + Bgr(0x00FF00) + Bgr(0x0000FF) + "\0\0\0"s;
const std::string kBottomRow = Bgr(0x123456) + Bgr(0xFFFFFF) + Bgr(0x000000) + "\0\0\0"s;
const std::string kSmallBmp = BmpFile(3, 2, 24, "", kBottomRow + kTopRow);

// One palette entry and a run-length stream that ends the picture at once:
// a few bytes that legally describe a black picture of any size.
const std::string kOneColour = Bgr(0x000000) + '\0';
std::string RunLengthBmp(int width, int height) { return BmpFile(width, height, 8, kOneColour, "\0\1"s, 1); }

// The JPEG with its frame header claiming another size; its data stays as it
// was, so it ends long before such a picture would.
std::string JpegClaiming(std::string jpeg, int width, int height)
{
    size_t frame = jpeg.find("\xFF\xC0");
    if (frame == std::string::npos)
        frame = jpeg.find("\xFF\xC2");
    const std::string size = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return frame == std::string::npos ? jpeg : jpeg.replace(frame + 5, 4, size);
}

}  // namespace

TEST(PlatformImageBitmap, CreateRefusesBadSides)
{
    Bitmap24 bitmap;
    EXPECT_TRUE(bitmap.Create(kMaxImageSide, 1));
    for (auto [width, height] : {std::pair{0, 1}, {1, 0}, {-4, 1}, {kMaxImageSide + 1, 1}, {1, kMaxImageSide + 1}}) {
        ASSERT_TRUE(bitmap.Create(2, 2));
        EXPECT_FALSE(bitmap.Create(width, height));
        EXPECT_TRUE(bitmap.Empty() && bitmap.Height() == 0 && bitmap.RowSize() == 0);
    }
}

class PlatformImageFiles : public ::testing::Test {
protected:
    bool Bmp(const std::string& bytes) { return LoadBMP(Write("p.bmp", bytes), Bitmap, Error); }
    bool Jpeg(const std::string& bytes) { return LoadJPEG(Write("p.jpg", bytes), Bitmap, Error); }
    bool Png(const std::string& bytes) { return LoadPNG(Write("p.png", bytes), Raw, Error); }
    uint32_t Rgb(int x, int y) const { return PixelAt(Bitmap, x, y); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        Dir.Write(name, bytes);
        return Dir.File(name);
    }
    // Every cut-off version of a readable file fails and leaves the output empty.
    template <typename Load, typename IsEmpty>
    void ExpectEveryTruncationRefused(const std::string& bytes, Load load, IsEmpty isEmpty)
    {
        ASSERT_TRUE(load(bytes)) << Error;
        for (size_t length = 0; length < bytes.size(); ++length) {
            Error.clear();
            EXPECT_FALSE(load(bytes.substr(0, length))) << "length " << length;
            EXPECT_TRUE(isEmpty()) << "length " << length;
            EXPECT_FALSE(Error.empty());
        }
    }

    TempDir Dir;
    Bitmap24 Bitmap;
    RawImage Raw;
    std::string Error;
};

using PlatformImageBmp = PlatformImageFiles;
using PlatformImageJpeg = PlatformImageFiles;
using PlatformImagePng = PlatformImageFiles;

// Bottom-up 24-bit files are the image resource tests' everyday case.
TEST_F(PlatformImageBmp, TopDownAndThirtyTwoBitTrueColour)
{
    ASSERT_TRUE(Bmp(BmpFile(3, -2, 24, "", kTopRow + kBottomRow))) << Error;
    EXPECT_EQ(Rgb(1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(1, 1), 0xFFFFFFu);

    ASSERT_TRUE(Bmp(BmpFile(2, 1, 32, "", Bgr(0x102030) + "\x80"s + Bgr(0xC0B0A0) + "\x01"s))) << Error;
    EXPECT_EQ(Rgb(0, 0), 0x102030u);
    EXPECT_EQ(Rgb(1, 0), 0xC0B0A0u);
}

TEST_F(PlatformImageBmp, PalettisedAndRunLengthEncodedWithinThePaletteOnly)
{
    const std::string palette = Bgr(0x0000FF) + '\0' + Bgr(0xFF0000) + '\0' + Bgr(0x00FF00) + '\0';
    // Bottom row: four of colour 1. Top row: two of colour 2, two of colour 0.
    ASSERT_TRUE(Bmp(BmpFile(4, 2, 8, palette, "\x04\x01\0\0\x02\x02\x02\0\0\x01"s, 1))) << Error;
    EXPECT_EQ(std::vector<uint32_t>({Rgb(1, 0), Rgb(3, 0), Rgb(3, 1)}),
              std::vector<uint32_t>({0x00FF00, 0x0000FF, 0xFF0000}));

    // SDL's run-length reader takes any index, so one past the palette must be refused.
    EXPECT_FALSE(Bmp(BmpFile(2, 1, 8, palette, "\x01\x03\0\0"s)));
    EXPECT_FALSE(Bmp(BmpFile(4, 1, 8, palette, "\x04\x03\0\x01"s, 1)));
    EXPECT_TRUE(Bitmap.Empty());
}

TEST_F(PlatformImageBmp, TruncatedOrHostileHeadersRefused)
{
    ExpectEveryTruncationRefused(kSmallBmp, [this](const std::string& b) { return Bmp(b); },
                                 [this] { return Bitmap.Empty(); });
    // Offset, value and width of each field a hostile header writes.
    const std::tuple<size_t, uint32_t, int> patches[] = {
        {18, 100000, 4}, {22, 100000, 4}, {18, 0, 4},  {22, 0, 4},     {22, 0x80000000u, 4}, {22, 0xFFFE7960u, 4},
        {28, 7, 2},      {28, 64, 2},     {30, 4, 4},  {30, 1, 4},     {10, 20, 4},          {10, 4000, 4},
        {14, 20, 4},     {14, 4000, 4},   {0, 'X', 1}, {18, 16384, 4},
    };
    for (const auto& [at, value, bytes] : patches) {
        ASSERT_TRUE(Bmp(kSmallBmp)) << Error;
        std::string hostile = kSmallBmp;
        hostile.replace(at, bytes, Le32(value).substr(0, bytes));
        EXPECT_FALSE(Bmp(hostile)) << "offset " << at << " value " << value;
        EXPECT_TRUE(Bitmap.Empty());
    }
    EXPECT_FALSE(Bmp(std::string(5000, '\x42')));
    EXPECT_FALSE(LoadBMP(Dir.File("absent.bmp"), Bitmap, Error));
    EXPECT_NE(Error.find("absent.bmp"), std::string::npos);
}

TEST_F(PlatformImageBmp, SaveWritesHeadersAndBottomRowFirstWithZeroPadding)
{
    ASSERT_TRUE(Bmp(kSmallBmp)) << Error;
    // The surface's padding may hold anything; the file's must not.
    Bitmap.Row(0)[10] = 0xEE;
    const std::string path = Dir.File("saved.bmp");
    ASSERT_TRUE(SaveBMP(path, Bitmap));
    EXPECT_EQ(ReadFile(path), kSmallBmp);

    EXPECT_FALSE(SaveBMP(Dir.File("no/such/dir.bmp"), Bitmap));
    EXPECT_FALSE(SaveBMP(Dir.File("empty.bmp"), Bitmap24()));
    EXPECT_FALSE(std::ifstream(Dir.File("empty.bmp")).good());
}

TEST_F(PlatformImageJpeg, ColourAndGreyDecodeTopRowFirst)
{
    ASSERT_TRUE(Jpeg(image_files::Jpeg(13, 32, 3, TwoBands()))) << Error;
    EXPECT_TRUE(Bitmap.Width() == 13 && Bitmap.Height() == 32);
    EXPECT_PRED2(Near, Rgb(12, 3), 0xE67814u);
    EXPECT_PRED2(Near, Rgb(6, 28), 0x148C96u);
    ASSERT_TRUE(Jpeg(image_files::Jpeg(9, 9, 1, std::vector<uint8_t>(81, 0x80)))) << Error;
    EXPECT_PRED2(Near, Rgb(8, 8), 0x808080u);
}

TEST_F(PlatformImageJpeg, DamagedTruncatedOrHugeRefused)
{
    const std::string small = image_files::Jpeg(8, 8, 3, std::vector<uint8_t>(192, 0x60));
    ExpectEveryTruncationRefused(small, [this](const std::string& b) { return Jpeg(b); },
                                 [this] { return Bitmap.Empty(); });

    std::string huge = small;
    const size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    huge.replace(frame + 5, 4, "\x50\x00\x50\x00"s);
    EXPECT_FALSE(Jpeg(huge));

    std::string scrambled = small;
    for (size_t i = scrambled.size() / 2; i < scrambled.size() - 2; ++i)
        scrambled[i] = '\xFF';
    EXPECT_FALSE(Jpeg(scrambled));
    EXPECT_FALSE(Jpeg("\xFF\xD8\xFFgarbage that is no JPEG at all"));

    // Repeating the last scan of a progressive file would otherwise decode for ever.
    const std::string progressive = image_files::Jpeg(8, 8, 3, std::vector<uint8_t>(192, 0x60), true);
    ASSERT_TRUE(Jpeg(progressive)) << Error;
    const size_t lastScan = progressive.rfind("\xFF\xDA");
    std::string endless = progressive.substr(0, progressive.size() - 2);
    for (int i = 0; i < 600; ++i)
        endless += progressive.substr(lastScan, progressive.size() - 2 - lastScan);
    EXPECT_FALSE(Jpeg(endless + "\xFF\xD9"));
    EXPECT_TRUE(Bitmap.Empty());
}

TEST_F(PlatformImagePng, EveryLayoutBecomesEightBitChannels)
{
    const std::string palette = PngChunk("PLTE", "\x0A\x0B\x0C\x0D\x0E\x0F");
    // Name, header, scanlines, chunks before the image data, channels and pixels.
    const std::tuple<const char*, PngHeader, std::string, std::string, int, std::string> cases[] = {
        {"grey 2-bit", {4, 1, 2, 0}, PngRows({"\x1B"}), "", 1, "\x00\x55\xAA\xFF"s},
        {"grey + tRNS", {2, 1, 8, 0}, PngRows({"\x10\x20"}), PngChunk("tRNS", "\0\x10"s), 4,
         "\x10\x10\x10\0\x20\x20\x20\xFF"s},
        {"grey + alpha", {1, 1, 8, 4}, PngRows({"\x33\x44"}), "", 4, "\x33\x33\x33\x44"},
        {"RGB 16-bit", {1, 1, 16, 2}, PngRows({"\x12\x34\x56\x78\x9A\xBC"}), "", 3, "\x12\x56\x9A"},
        {"palette 4-bit", {2, 1, 4, 3}, PngRows({"\x10"}), palette, 3, "\x0D\x0E\x0F\x0A\x0B\x0C"},
        {"palette + tRNS", {2, 1, 8, 3}, PngRows({"\x01\x00"s}), palette + PngChunk("tRNS", "\x40"), 4,
         "\x0D\x0E\x0F\xFF\x0A\x0B\x0C\x40"},
        {"interlaced", {2, 2, 8, 0, 1}, "\0A\0B\0CD"s, "", 1, "ABCD"},
    };
    for (const auto& [name, header, scanlines, extra, channels, pixels] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Png(PngFile(header, scanlines, extra))) << Error;
        EXPECT_EQ(std::vector<int>({Raw.Width, Raw.Height, Raw.Channels}),
                  std::vector<int>({static_cast<int>(header.Width), static_cast<int>(header.Height), channels}));
        EXPECT_EQ(std::string(Raw.Pixels.begin(), Raw.Pixels.end()), pixels);
    }
}

TEST_F(PlatformImagePng, DamagedTruncatedOrHugeRefused)
{
    const std::string rgba = PngFile({2, 2, 8, 6}, PngRows({"12345678", "abcdefgh"}));
    ExpectEveryTruncationRefused(rgba, [this](const std::string& b) { return Png(b); },
                                 [this] { return Raw.Pixels.empty() && Raw.Width == 0 && Raw.Channels == 0; });

    EXPECT_FALSE(Png(PngFile({100000, 100000, 8, 2}, PngRows({"\1\2\3"}))));
    EXPECT_FALSE(Png(PngFile({0, 1, 8, 0}, PngRows({""}))));
    EXPECT_FALSE(Png(PngFile({4, 4, 8, 2}, PngRows({"only one row of twelve"}))));
    std::string badCrc = rgba;
    badCrc[30] ^= 1;
    EXPECT_FALSE(Png(badCrc));
    EXPECT_FALSE(Png("\x89PNG\r\n\x1a\n but nothing else"));
    EXPECT_TRUE(Raw.Pixels.empty());
}

// Files of a few bytes claiming 16384 x 16384 pixels are refused from their
// headers, naming the limit, without memory for any of the picture.
TEST_F(PlatformImageFiles, PicturesPastThePixelLimitRefusedFromTheirHeaders)
{
    struct Claim {
        const char* Name;
        std::function<bool(const std::string&)> Load;
        std::string Bytes;
    };
    const auto bmp = [this](const std::string& bytes) { return Bmp(bytes); };
    const auto jpeg = [this](const std::string& bytes) { return Jpeg(bytes); };
    const std::vector<uint8_t> samples(192, 0x60);
    const Claim files[] = {
        {"run-length BMP", bmp, RunLengthBmp(kMaxImageSide, kMaxImageSide)},
        {"baseline JPEG", jpeg, JpegClaiming(image_files::Jpeg(8, 8, 3, samples), kMaxImageSide, kMaxImageSide)},
        {"progressive JPEG", jpeg,
         JpegClaiming(image_files::Jpeg(8, 8, 3, samples, true), kMaxImageSide, kMaxImageSide)},
        {"PNG", [this](const std::string& bytes) { return Png(bytes); },
         PngFile({kMaxImageSide, kMaxImageSide, 8, 2}, PngRows({"\1\2\3"}))},
    };
    for (const Claim& file : files) {
        SCOPED_TRACE(file.Name);
        const auto refusedNamingTheLimit = [&] {
            return !file.Load(file.Bytes) && Error.find(kPixelLimit) != std::string::npos;
        };
        EXPECT_TRUE(TrueInLittleMemory(kLoadHeadroom, refusedNamingTheLimit));
        EXPECT_TRUE(refusedNamingTheLimit()) << Error;
    }
}

// The limit counts pixels, not sides, and a picture of exactly that many loads.
TEST_F(PlatformImageBmp, PixelLimitCountsPixels)
{
    ASSERT_TRUE(Bmp(RunLengthBmp(kLimitSide, kLimitSide))) << Error;
    EXPECT_EQ(Rgb(kLimitSide - 1, 0), 0u);
    ASSERT_TRUE(Bmp(RunLengthBmp(kMaxImageSide, 2))) << Error;
    EXPECT_FALSE(Bmp(RunLengthBmp(kLimitSide + 1, kLimitSide)));
    EXPECT_NE(Error.find(kPixelLimit), std::string::npos) << Error;
    EXPECT_TRUE(Bitmap.Empty());
}

// A file whose data ends early costs the rows it holds, not the picture its header claims.
TEST_F(PlatformImagePng, DataEndingEarlyCostsOnlyTheRowsItHolds)
{
    const std::string cut = PngFile({kLimitSide, kLimitSide, 8, 6}, PngRows({std::string(4 * kLimitSide, 'x')}));
    EXPECT_TRUE(TrueInLittleMemory(kLoadHeadroom, [&] { return !Png(cut); }));
    EXPECT_FALSE(Png(cut));
    EXPECT_TRUE(Raw.Pixels.empty());
}

TEST(PlatformImageCrc, MatchesTheKnownValue)
{
    const std::string text = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0, 0x1234u), 0x1234u);
}
