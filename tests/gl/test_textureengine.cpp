#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "texture_test_support.h"

using namespace image_files;

class TextureEngineTest : public TextureTest {
protected:
    static GLint ActiveUnit() { return Integer(GL_ACTIVE_TEXTURE_ARB) - GL_TEXTURE0_ARB; }
};

TEST_F(TextureEngineTest, UnitCountsAndPowersOfTwoStayWithinTheirBounds)
{
    EXPECT_EQ(TE().MaxUnit, std::min(Integer(GL_MAX_TEXTURE_UNITS_ARB) - 1, 7));
    EXPECT_EQ(GLTextureEngine::HighestUnit(16), 7);
    EXPECT_EQ(GLTextureEngine::HighestUnit(4), 3);
    for (const auto& [n, power] :
         std::vector<std::pair<int32_t, int32_t>>{{1, 4}, {600, 1024}, {1024, 1024}, {5000, 4096}})
        EXPECT_EQ(GLTextureEngine::NextPowerOfTwo(n), power) << n;
}

TEST_F(TextureEngineTest, AnisotropyIsCappedAndSetOnlyWhileSupported)
{
    TE().SetAnisotropy(true, 16.0f);
    EXPECT_EQ(TE().Anisotropy, std::min(16.0f, TE().MaxAnisotropy));
    ZRTexture filtered;
    MakeRaw(filtered, kImageRGB);
    EXPECT_EQ(Parameter(filtered.GLName, GL_TEXTURE_MAX_ANISOTROPY_EXT), std::floor(TE().Anisotropy));
    // Read at full resolution, without mip levels, a texture gets none.
    filtered.SetFilter(GLTextureEngine::kFilterLinear);
    EXPECT_EQ(Parameter(filtered.GLName, GL_TEXTURE_MAX_ANISOTROPY_EXT), 1);

    TE().SupportsAnisotropy = false;
    TE().MaxAnisotropy = 0.0f;
    TE().SetAnisotropy(true, 16.0f);
    EXPECT_EQ(TE().Anisotropy, 0.0f);
    ZRTexture plain;
    MakeRaw(plain, kImageRGB);
    EXPECT_EQ(Parameter(plain.GLName, GL_TEXTURE_MAX_ANISOTROPY_EXT), 1);
}

TEST_F(TextureEngineTest, FilesUploadWithTheirSizeFormatAndRowsInGLOrder)
{
    TE().SetUseCompression(false);
    // Bottom row red, top row blue; GL wants the bottom row first and red first.
    WriteTexture("rows.bmp", Bmp(2, 2, 24, [](int, int y) { return y == 0 ? Rgb{0, 0, 255} : Rgb{255, 0, 0}; }));
    WriteTexture("alpha.tga", Tga(2, 32, 2, 1, std::string("\x01\x02\x03\xFF\xFF\xFF\xFF\x40", 8)));
    ZRTexture bitmap, targa;
    TE().LoadTexture(TexturePath("rows"), bitmap);
    TE().LoadTexture(TexturePath("alpha"), targa);

    EXPECT_EQ(Parameter(bitmap.GLName, GL_TEXTURE_INTERNAL_FORMAT, true), GL_RGB);
    EXPECT_EQ(Texels(bitmap.GLName, GL_RGB, 12), std::string("\xFF\0\0\xFF\0\0\0\0\xFF\0\0\xFF", 12));
    EXPECT_EQ(Parameter(targa.GLName, GL_TEXTURE_INTERNAL_FORMAT, true), GL_RGBA);
    EXPECT_EQ(Texels(targa.GLName, GL_RGBA, 8), std::string("\x03\x02\x01\xFF\xFF\xFF\xFF\x40", 8));
    EXPECT_EQ(std::vector<int32_t>({bitmap.Width, bitmap.Height, targa.Width, targa.Height}),
              std::vector<int32_t>({2, 2, 2, 1}));
    EXPECT_EQ(Parameter(bitmap.GLName, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
}

// The image resource looks for TGA before PNG, the texture engine for PNG
// first: the texture must hold the PNG, with its rows in GL's order.
TEST_F(TextureEngineTest, APngBesideATgaOfTheSameNameIsNotLoadedUpsideDown)
{
    TE().SetUseCompression(false);
    WriteTexture("both.png", PngFile({1, 2, 8, 6}, PngRows({"\xFF\xFF\xFF\xFF", std::string("\xFF\0\0\xFF", 4)})));
    WriteTexture("both.tga", Tga(2, 32, 1, 2, std::string("\xFF\xFF\xFF\xFF\0\0\xFF\xFF", 8)));
    ZRTexture texture;
    TE().LoadTexture(TexturePath("both"), texture);
    EXPECT_EQ(Texels(texture.GLName, GL_RGBA, 8), std::string("\xFF\0\0\xFF\xFF\xFF\xFF\xFF", 8));
}

TEST_F(TextureEngineTest, MissingDamagedShortAndUnknownPicturesAreReported)
{
    ZRTexture missing;
    TE().LoadTexture(TexturePath("nothing"), missing);
    EXPECT_EQ(missing.GLName, 0u);
    EXPECT_TRUE(Logged("  ERROR: ZT_FILE: File \"textures\\nothing\" not found!"));
    for (const std::string extension : {"bmp", "jpg", "png", "tga"}) {
        WriteTexture("broken." + extension, "BM\x10 damaged beyond repair");
        ZRTexture broken;
        TE().LoadTexture(TexturePath("broken"), broken);
        EXPECT_EQ(broken.GLName, 0u) << extension;
        std::filesystem::remove(Dir.File("textures/broken." + extension));
    }
    ZRTexture shortData, noSize;
    TE().UploadRaw(std::vector<uint8_t>(10, 0), shortData, 4, 4, kImageRGBA);
    TE().UploadRaw(std::vector<uint8_t>(16, 0), noSize, 0, 4, kImageAlpha);
    EXPECT_EQ(shortData.GLName + noSize.GLName, 0u);
    EXPECT_TRUE(Logged("  ERROR: ZOT_GL: Texture of 4*4 pixels not uploaded: its pixel data is missing or short!"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    TE().SetUseCompression(false);
    ZRTexture unknown;
    MakeRaw(unknown, 9);
    EXPECT_TRUE(Logged("  ERROR: ZOT_GL: Undefined texture format (9) !"));
    EXPECT_EQ(Parameter(unknown.GLName, GL_TEXTURE_INTERNAL_FORMAT, true), GL_RGB);
}

TEST_F(TextureEngineTest, FiltersAndDeletionReachTheTexture)
{
    ZRTexture texture;
    MakeRaw(texture, kImageRGB);
    // An unknown mode leaves the filters as they were.
    for (const auto& [mode, mag, min] : std::vector<std::array<GLint, 3>>{{0, GL_NEAREST, GL_NEAREST},
                                                                          {2, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
                                                                          {7, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST}}) {
        TE().SetFilter(texture.GLName, mode);
        EXPECT_EQ(Parameter(texture.GLName, GL_TEXTURE_MAG_FILTER), mag) << mode;
        EXPECT_EQ(Parameter(texture.GLName, GL_TEXTURE_MIN_FILTER), min) << mode;
    }
    TE().DeleteTexture(texture.GLName);
    EXPECT_FALSE(glIsTexture(texture.GLName));
    TE().DeleteTexture(texture.GLName);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureEngineTest, BindReachesGLOnlyWhenTheUnitMayHoldSomethingElseAndTexturingIsOn)
{
    ZRTexture mine, other;
    MakeRaw(mine, kImageRGB);
    MakeRaw(other, kImageRGB);
    GL->SetMode(ZOTGL::kModeTexturing, 0);
    TE().Bind(&mine, 2);
    GL->SetMode(ZOTGL::kModeTexturing, 1);
    TE().Bind(nullptr, 2);
    TE().Bind(&mine, GLTextureEngine::kUnits);
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(TE().Bound[2], nullptr);

    TE().Bind(&mine, 1);
    EXPECT_EQ(ActiveUnit(), 1);
    glBindTexture(GL_TEXTURE_2D, other.GLName);
    TE().Bind(&mine, 1);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(other.GLName));
    TE().ResetBound();
    TE().Bind(&mine, 1);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(mine.GLName));
    TE().SetFilter(other.GLName, 1);
    TE().Bind(&mine, 1);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(mine.GLName));
}

TEST_F(TextureEngineTest, BindSetsAlphaTestAndSphereMappingPerTexture)
{
    ZRTexture rgba, rgb;
    MakeRaw(rgba, kImageRGBA);
    MakeRaw(rgb, kImageRGB);
    rgba.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceOwn);
    TE().Bind(&rgba, 0);
    GLint mode = 0;
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_TRUE(IsOn(GL_ALPHA_TEST) && IsOn(GL_TEXTURE_GEN_S) && IsOn(GL_TEXTURE_GEN_T));
    EXPECT_EQ(mode, GL_SPHERE_MAP);
    TE().Bind(&rgb, 0);
    EXPECT_FALSE(IsOn(GL_ALPHA_TEST) || IsOn(GL_TEXTURE_GEN_S) || IsOn(GL_TEXTURE_GEN_T));

    // A texture still bound on its unit gets its alpha test back after
    // something else turned the test off.
    TE().Bind(&rgba, 1);
    TE().AlphaTest(false);
    TE().Bind(&rgba, 1);
    EXPECT_TRUE(IsOn(GL_ALPHA_TEST));
}

TEST_F(TextureEngineTest, DisablingUnitsLeavesUnitZeroActiveAndWorksWithoutEntryPoints)
{
    ZRTexture texture;
    MakeRaw(texture, kImageRGBA);
    for (int32_t unit = 0; unit <= TE().MaxUnit; ++unit)
        TE().Bind(&texture, unit);
    TE().BindSingle(&texture);
    for (int32_t unit = TE().MaxUnit; unit >= 0; --unit) {
        TE().ActiveTexture(GL_TEXTURE0_ARB + unit);
        EXPECT_EQ(IsOn(GL_TEXTURE_2D), unit == 0) << unit;
    }
    TE().DisableAll();
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_FALSE(IsOn(GL_TEXTURE_2D) || IsOn(GL_ALPHA_TEST));

    TE().ActiveTexture = nullptr;
    TE().MultiTexCoord2f = nullptr;
    TE().ResetBound();
    TE().Bind(&texture, 1);
    TE().MultiTexCoord(1, 0.5f, 0.5f);
    TE().DisableUnit(1);
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(TE().Bound[1], &texture);
}
