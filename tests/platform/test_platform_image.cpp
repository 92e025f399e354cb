#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform_image.h"
#include "platform/png_test_support.h"
#include "test_support.h"

using namespace platform;
using namespace std::string_literals;

namespace {

std::string LittleEndian(uint32_t value, int byteCount)
{
    std::string bytes;
    for (int i = 0; i < byteCount; ++i)
        bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}

uint32_t ReadLittleEndian(const std::string& bytes, size_t at, int byteCount)
{
    uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

std::string Bgr(uint32_t rgb) { return {char(rgb), char(rgb >> 8), char(rgb >> 16)}; }

// A BMP with a 40-byte info header; palette holds 4-byte entries, pixels the
// rows exactly as stored.
std::string BmpFile(int32_t width, int32_t height, int bits, const std::string& palette, const std::string& pixels,
                    uint32_t compression = 0)
{
    const uint32_t offset = 54 + static_cast<uint32_t>(palette.size());
    return "BM" + LittleEndian(offset + static_cast<uint32_t>(pixels.size()), 4) + LittleEndian(0, 4) +
           LittleEndian(offset, 4) + LittleEndian(40, 4) + LittleEndian(width, 4) +
           LittleEndian(static_cast<uint32_t>(height), 4) + LittleEndian(1, 2) + LittleEndian(bits, 2) +
           LittleEndian(compression, 4) + LittleEndian(static_cast<uint32_t>(pixels.size()), 4) +
           LittleEndian(0, 4) + LittleEndian(0, 4) + LittleEndian(static_cast<uint32_t>(palette.size() / 4), 4) +
           LittleEndian(0, 4) + palette + pixels;
}

// 3 x 2, top row red, green, blue; bottom row grey, white, black; rows padded to 12 bytes.
const std::string kTopRow = Bgr(0xFF0000) + Bgr(0x00FF00) + Bgr(0x0000FF) + "\0\0\0"s;
const std::string kBottomRow = Bgr(0x123456) + Bgr(0xFFFFFF) + Bgr(0x000000) + "\0\0\0"s;
const std::string kSmallBmp = BmpFile(3, 2, 24, "", kBottomRow + kTopRow);

std::string EncodeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples, bool progressive)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string encoded(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return encoded;
}

// 13 x 32: the upper half orange, the lower half teal.
std::vector<uint8_t> TwoBands()
{
    std::vector<uint8_t> samples;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 13; ++x)
            samples.insert(samples.end(), y < 16 ? std::initializer_list<uint8_t>{230, 120, 20}
                                                 : std::initializer_list<uint8_t>{20, 140, 150});
    }
    return samples;
}

bool Near(uint32_t actual, uint32_t expected)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((actual >> shift) & 255) - int((expected >> shift) & 255)) > 12)
            return false;
    }
    return true;
}

}  // namespace

TEST(PlatformImageBitmap, CreatePadsRowsAndRefusesBadSides)
{
    Bitmap24 bitmap;
    const int rowSizes[] = {4, 8, 12, 12, 16};
    for (int width = 1; width <= 5; ++width) {
        ASSERT_TRUE(bitmap.Create(width, 2));
        EXPECT_EQ(bitmap.RowSize(), rowSizes[width - 1]);
        EXPECT_EQ(bitmap.Row(1)[bitmap.RowSize() - 1], 0);
    }
    EXPECT_TRUE(bitmap.Create(kMaxImageSide, 1));
    for (auto [width, height] : {std::pair{0, 1}, {1, 0}, {-4, 1}, {kMaxImageSide + 1, 1}, {1, kMaxImageSide + 1}}) {
        ASSERT_TRUE(bitmap.Create(2, 2));
        EXPECT_FALSE(bitmap.Create(width, height));
        EXPECT_TRUE(bitmap.Empty());
        EXPECT_EQ(bitmap.Height(), 0);
        EXPECT_EQ(bitmap.RowSize(), 0);
    }
}

TEST(PlatformImageBitmap, FillWritesBgrAndFlipReversesRows)
{
    Bitmap24 bitmap;
    bitmap.Create(3, 3);
    bitmap.Fill(0x11, 0x22, 0x33);
    EXPECT_EQ(std::string(bitmap.Row(2), bitmap.Row(2) + 12), "\x33\x22\x11\x33\x22\x11\x33\x22\x11\0\0\0"s);
    bitmap.Row(0)[0] = 0xA0;
    bitmap.Row(2)[0] = 0xC0;
    bitmap.FlipRows();
    EXPECT_EQ(bitmap.Row(0)[0], 0xC0);
    EXPECT_EQ(bitmap.Row(1)[0], 0x33);
    EXPECT_EQ(bitmap.Row(2)[0], 0xA0);
}

class PlatformImageFiles : public ::testing::Test {
protected:
    bool Bmp(const std::string& bytes) { return LoadBMP(Write("p.bmp", bytes), Bitmap, Error); }
    bool Jpeg(const std::string& bytes) { return LoadJPEG(Write("p.jpg", bytes), Bitmap, Error); }
    bool Png(const std::string& bytes) { return LoadPNG(Write("p.png", bytes), Raw, Error); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        Dir.Write(name, bytes);
        return Dir.File(name);
    }
    // Red in the high byte, blue in the low one.
    uint32_t Rgb(int x, int y) const
    {
        const uint8_t* pixel = Bitmap.Row(y) + 3 * x;
        return uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0];
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
using PlatformImageSave = PlatformImageFiles;

TEST_F(PlatformImageBmp, TrueColourInBothRowOrders)
{
    ASSERT_TRUE(Bmp(kSmallBmp)) << Error;
    EXPECT_EQ(Bitmap.Width(), 3);
    EXPECT_EQ(Bitmap.Height(), 2);
    EXPECT_EQ(Rgb(0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(2, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(0, 1), 0x123456u);
    ASSERT_TRUE(Bmp(BmpFile(3, -2, 24, "", kTopRow + kBottomRow))) << Error;
    EXPECT_EQ(Rgb(1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(1, 1), 0xFFFFFFu);

    const std::string translucent = Bgr(0x102030) + "\x80"s + Bgr(0xC0B0A0) + "\x01"s;
    ASSERT_TRUE(Bmp(BmpFile(2, 1, 32, "", translucent))) << Error;
    EXPECT_EQ(Rgb(0, 0), 0x102030u);
    EXPECT_EQ(Rgb(1, 0), 0xC0B0A0u);
}

TEST_F(PlatformImageBmp, PalettisedAndRunLengthEncoded)
{
    const std::string palette = Bgr(0x0000FF) + '\0' + Bgr(0xFF0000) + '\0' + Bgr(0x00FF00) + '\0';
    ASSERT_TRUE(Bmp(BmpFile(2, 2, 8, palette, "\x02\x01\0\0\0\x02\0\0"s))) << Error;
    EXPECT_EQ(Rgb(0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(0, 1), 0x00FF00u);

    // Bottom row: four of colour 1. Top row: two of colour 2, two of colour 0.
    const std::string runs = "\x04\x01\0\0\x02\x02\x02\0\0\x01"s;
    ASSERT_TRUE(Bmp(BmpFile(4, 2, 8, palette, runs, 1))) << Error;
    EXPECT_EQ(Rgb(1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(3, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(3, 1), 0xFF0000u);
}

TEST_F(PlatformImageBmp, ColourOutsidePaletteRefused)
{
    const std::string twoColours = Bgr(0x0000FF) + '\0' + Bgr(0xFF0000) + '\0';
    EXPECT_FALSE(Bmp(BmpFile(2, 1, 8, twoColours, "\x01\x05\0\0"s)));
    EXPECT_FALSE(Bmp(BmpFile(4, 1, 8, twoColours, "\x04\x07\0\x01"s, 1)));
    EXPECT_TRUE(Bitmap.Empty());
}

TEST_F(PlatformImageBmp, TruncatedAtEveryLengthRefused)
{
    ExpectEveryTruncationRefused(kSmallBmp, [this](const std::string& b) { return Bmp(b); },
                                 [this] { return Bitmap.Empty(); });
}

TEST_F(PlatformImageBmp, HostileHeadersRefused)
{
    struct Patch {
        size_t At;
        uint32_t Value;
        int Bytes;
    };
    const Patch patches[] = {
        {18, 100000, 4}, {22, 100000, 4}, {18, 0, 4},  {22, 0, 4},     {22, 0x80000000u, 4}, {22, 0xFFFE7960u, 4},
        {28, 7, 2},      {28, 64, 2},     {30, 4, 4},  {30, 1, 4},     {10, 20, 4},          {10, 4000, 4},
        {14, 20, 4},     {14, 4000, 4},   {0, 'X', 1}, {18, 16384, 4},
    };
    for (const Patch& patch : patches) {
        ASSERT_TRUE(Bmp(kSmallBmp)) << Error;
        std::string hostile = kSmallBmp;
        hostile.replace(patch.At, patch.Bytes, LittleEndian(patch.Value, patch.Bytes));
        EXPECT_FALSE(Bmp(hostile)) << "offset " << patch.At << " value " << patch.Value;
        EXPECT_TRUE(Bitmap.Empty());
    }
    EXPECT_FALSE(Bmp(std::string(5000, '\x42')));
    EXPECT_FALSE(LoadBMP(Dir.File("absent.bmp"), Bitmap, Error));
    EXPECT_NE(Error.find("absent.bmp"), std::string::npos);
}

TEST_F(PlatformImageSave, WritesHeadersAndBottomRowFirst)
{
    ASSERT_TRUE(Bmp(kSmallBmp)) << Error;
    Bitmap.Row(0)[10] = 0xEE;
    const std::string path = Dir.File("saved.bmp");
    ASSERT_TRUE(SaveBMP(path, Bitmap));

    std::ifstream in(path, std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(saved.size(), 54u + 24u);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    const std::pair<size_t, uint32_t> fields[] = {{2, 78}, {6, 0}, {10, 54}, {14, 40}, {18, 3},  {22, 2},
                                                  {30, 0}, {34, 24}, {38, 0}, {42, 0}, {46, 0}, {50, 0}};
    for (auto [at, value] : fields)
        EXPECT_EQ(ReadLittleEndian(saved, at, 4), value) << "offset " << at;
    EXPECT_EQ(ReadLittleEndian(saved, 26, 2), 1u);
    EXPECT_EQ(ReadLittleEndian(saved, 28, 2), 24u);
    EXPECT_EQ(saved.substr(54), kBottomRow + kTopRow);

    Bitmap24 original = Bitmap;
    ASSERT_TRUE(LoadBMP(path, Bitmap, Error)) << Error;
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(std::string(Bitmap.Row(y), Bitmap.Row(y) + 9), std::string(original.Row(y), original.Row(y) + 9));
}

TEST_F(PlatformImageSave, EmptyBitmapOrBadPathRefused)
{
    EXPECT_FALSE(SaveBMP(Dir.File("empty.bmp"), Bitmap24()));
    EXPECT_FALSE(std::ifstream(Dir.File("empty.bmp")).good());
    ASSERT_TRUE(Bmp(kSmallBmp)) << Error;
    EXPECT_FALSE(SaveBMP(Dir.File("no/such/dir.bmp"), Bitmap));
}

TEST_F(PlatformImageJpeg, ColourAndGreyDecodeTopRowFirst)
{
    for (bool progressive : {false, true}) {
        ASSERT_TRUE(Jpeg(EncodeJpeg(13, 32, 3, TwoBands(), progressive))) << Error;
        EXPECT_EQ(Bitmap.Width(), 13);
        EXPECT_EQ(Bitmap.Height(), 32);
        EXPECT_PRED2(Near, Rgb(12, 3), 0xE67814u);
        EXPECT_PRED2(Near, Rgb(6, 28), 0x148C96u);
    }
    ASSERT_TRUE(Jpeg(EncodeJpeg(9, 9, 1, std::vector<uint8_t>(81, 0x80), false))) << Error;
    EXPECT_PRED2(Near, Rgb(8, 8), 0x808080u);
}

TEST_F(PlatformImageJpeg, DamagedTruncatedOrHugeRefused)
{
    const std::string small = EncodeJpeg(8, 8, 3, std::vector<uint8_t>(192, 0x60), false);
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

    const std::string progressive = EncodeJpeg(8, 8, 3, std::vector<uint8_t>(192, 0x60), true);
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
    struct Case {
        const char* Name;
        PngHeader Header;
        std::string Scanlines;
        std::string Extra;
        int Channels;
        std::string Pixels;
    };
    const Case cases[] = {
        {"grey", {2, 1, 8, 0}, PngRows({"\x10\xF0"}), "", 1, "\x10\xF0"},
        {"grey 2-bit", {4, 1, 2, 0}, PngRows({"\x1B"}), "", 1, "\x00\x55\xAA\xFF"s},
        {"grey + tRNS", {2, 1, 8, 0}, PngRows({"\x10\x20"}), PngChunk("tRNS", "\0\x10"s), 4,
         "\x10\x10\x10\0\x20\x20\x20\xFF"s},
        {"grey + alpha", {1, 1, 8, 4}, PngRows({"\x33\x44"}), "", 4, "\x33\x33\x33\x44"},
        {"RGB rows", {1, 2, 8, 2}, PngRows({"\x01\x02\x03", "\x04\x05\x06"}), "", 3, "\x01\x02\x03\x04\x05\x06"},
        {"RGBA", {1, 1, 8, 6}, PngRows({"\x01\x02\x03\x04"}), "", 4, "\x01\x02\x03\x04"},
        {"RGB 16-bit", {1, 1, 16, 2}, PngRows({"\x12\x34\x56\x78\x9A\xBC"}), "", 3, "\x12\x56\x9A"},
        {"palette 4-bit", {2, 1, 4, 3}, PngRows({"\x10"}), palette, 3, "\x0D\x0E\x0F\x0A\x0B\x0C"},
        {"palette + tRNS", {2, 1, 8, 3}, PngRows({"\x01\x00"s}), palette + PngChunk("tRNS", "\x40"), 4,
         "\x0D\x0E\x0F\xFF\x0A\x0B\x0C\x40"},
        {"interlaced", {2, 2, 8, 0, 1}, "\0A\0B\0CD"s, "", 1, "ABCD"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Png(PngFile(c.Header, c.Scanlines, c.Extra))) << c.Name << ": " << Error;
        EXPECT_EQ(Raw.Width, static_cast<int>(c.Header.Width)) << c.Name;
        EXPECT_EQ(Raw.Height, static_cast<int>(c.Header.Height)) << c.Name;
        EXPECT_EQ(Raw.Channels, c.Channels) << c.Name;
        EXPECT_EQ(std::string(Raw.Pixels.begin(), Raw.Pixels.end()), c.Pixels) << c.Name;
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

TEST(PlatformImageCrc, MatchesKnownValuesAndChains)
{
    const std::string text = "123456789";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    EXPECT_EQ(Crc32(bytes, text.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(bytes + 4, 5, Crc32(bytes, 4)), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0, 0x1234u), 0x1234u);
}
