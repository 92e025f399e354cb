#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>

#include "core/file_file.h"
#include "core/zot_file.h"
#include "gl/texture_test_support.h"
#include "resource/resource_image.h"

namespace {

const std::string kGreyBitmap = image_files::Bmp(2, 2, 24, [](int, int) { return image_files::Rgb{128, 128, 128}; });

// A string as the engine's binary reader takes it: 16-bit length, then the bytes.
std::string Stored(const std::string& text) { return image_files::Le16(static_cast<int64_t>(text.size())) + text; }

}  // namespace

using TextureResourceTest = TextureTest;

// The name is the whole file name, cut to the name length.
TEST_F(TextureResourceTest, TakesTheWholeFileNameAndCountsAsLoadedEvenWhenTheFileIsMissing)
{
    ZRTexture missing("textures\\a_rather_long_directory\\nothing", nullptr);
    EXPECT_EQ(missing.GetName(), "textures\\a_rather_long_directory");
    EXPECT_TRUE(missing.IsLoaded());
    EXPECT_EQ(missing.GLName, 0u);
    EXPECT_TRUE(Logged("  ERROR: ZT_FILE: File \"textures\\a_rather_long_directory\\nothing\" not found!"));
}

TEST_F(TextureResourceTest, UnloadAndDestructionDeleteOnlyWhatWasLoadedAndLeaveNoReference)
{
    WriteTexture("stone.bmp", kGreyBitmap);
    ZRTexture stone("textures\\stone", nullptr);
    const GLuint name = stone.GLName;
    ASSERT_NE(name, 0u);
    EXPECT_EQ(stone.BindName, name);
    stone.Unload();
    EXPECT_FALSE(glIsTexture(name) || stone.IsLoaded());

    ZRTexture never;
    glGenTextures(1, &never.GLName);
    glBindTexture(GL_TEXTURE_2D, never.GLName);
    never.Unload();
    EXPECT_TRUE(glIsTexture(never.GLName));
    glDeleteTextures(1, &never.GLName);

    auto empty = std::make_unique<ZRTexture>();
    empty->CreateEmpty(4, 4, 255);
    TE().Bind(empty.get(), 2);
    TE().SharedTexture2 = empty.get();
    const GLuint emptyName = empty->GLName;
    empty.reset();
    EXPECT_FALSE(glIsTexture(emptyName));
    EXPECT_EQ(TE().Bound[2], nullptr);
    EXPECT_EQ(TE().SharedTexture2, nullptr);
}

TEST_F(TextureResourceTest, EmptyTexturesAreWhiteRGBAAndReflectionsBindTheSharedTextureWhenThereIsOne)
{
    ZRTexture own, sphere;
    own.CreateEmpty(256, 128, 255);
    sphere.CreateEmpty(4, 4, 255);
    EXPECT_TRUE(own.IsLoaded());
    EXPECT_EQ(own.Format, kImageRGBA);
    EXPECT_EQ(Parameter(own.GLName, GL_TEXTURE_HEIGHT, true), 128);
    EXPECT_EQ(Texels(own.GLName, GL_RGBA, 256 * 128 * 4), std::string(256 * 128 * 4, '\xFF'));

    own.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceReflection);
    EXPECT_EQ(own.BindName, own.GLName);
    TE().SharedTexture1 = &sphere;
    own.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceReflection);
    EXPECT_EQ(own.BindName, sphere.GLName);
    own.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceOwn);
    EXPECT_EQ(own.BindName, own.GLName);
}

TEST_F(TextureResourceTest, ReadReferenceTakesTheNameAndLoadsOnlyANonEmptyFileName)
{
    WriteTexture("wood.bmp", kGreyBitmap);
    Dir.Write("refs.bin", Stored("Wood") + Stored("textures\\wood") + Stored("Nothing") + Stored(""));
    std::unique_ptr<ZOTFile> file = Engine->FileSystem->OpenForReading(EngineFile("refs.bin"), kFileBinary);
    ZRTexture wood, nothing;
    wood.ReadReference(*file);
    nothing.ReadReference(*file);
    EXPECT_EQ(wood.GetName(), "Wood");
    EXPECT_NE(wood.GLName, 0u);
    EXPECT_EQ(nothing.GetName(), "Nothing");
    EXPECT_FALSE(nothing.IsLoaded());
}
