#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>

#include "core/file_file.h"
#include "core/zot_file.h"
#include "gl/texture_test_support.h"
#include "resource/resource_image.h"

namespace {

std::string GreyBitmap() { return MakeBMP(2, 2, std::string(12, '\x80')); }

// A string as the engine's binary reader takes it: 16-bit length, then the bytes.
std::string Stored(const std::string& text) { return Bytes({static_cast<int64_t>(text.size())}, 2) + text; }

}  // namespace

using TextureResourceTest = TextureTest;

TEST_F(TextureResourceTest, TheDefaultNameGivesWayToTheWholeFileNameAndAnExplicitOneStays)
{
    ZRTexture blank(Engine.get());
    EXPECT_EQ(blank.GetName(), "RESOURCE TEXTURE");
    EXPECT_EQ(blank.Settings.Tag, 0);
    EXPECT_EQ(blank.Compression, -1);
    EXPECT_FALSE(blank.IsLoaded());

    WriteTexture("fur/fur.bmp", GreyBitmap());
    ZRTexture fur("textures\\fur\\fur", nullptr, 3);
    ZRTexture named;
    named.SetName("Fur");
    named.LoadFromFile("textures\\fur\\fur");
    EXPECT_EQ(fur.GetName(), "textures\\fur\\fur");
    EXPECT_EQ(fur.Settings.Tag, 3);
    EXPECT_TRUE(Logged("Creating Texture: \"textures\\fur\\fur\""));
    EXPECT_EQ(named.GetName(), "Fur");
    EXPECT_EQ(named.Settings.FileName, "textures\\fur\\fur");
    EXPECT_NE(fur.GLName, 0u);
    EXPECT_EQ(fur.BindName, fur.GLName);
    EXPECT_EQ(fur.Width, 2);

    ZRTexture missing("textures\\a_rather_long_directory\\nothing", nullptr);
    EXPECT_EQ(missing.GetName(), "textures\\a_rather_long_directory");
    EXPECT_TRUE(missing.IsLoaded());
    EXPECT_EQ(missing.GLName, 0u);
    EXPECT_TRUE(Logged("  ERROR: ZT_FILE: File \"textures\\a_rather_long_directory\\nothing\" not found!"));
}

TEST_F(TextureResourceTest, CreateEmptyMakesAWhiteOpaqueRGBATextureOfThatSize)
{
    ZRTexture target;
    target.CreateEmpty(256, 128, 255);
    EXPECT_TRUE(Logged("Creating Empty RGBA Texture with Dimensions 256*128"));
    EXPECT_TRUE(target.IsLoaded());
    EXPECT_EQ(target.Format, kImageRGBA);
    EXPECT_EQ(target.BindName, target.GLName);
    EXPECT_EQ(Parameter(target.GLName, GL_TEXTURE_WIDTH, true), 256);
    EXPECT_EQ(Parameter(target.GLName, GL_TEXTURE_HEIGHT, true), 128);
    EXPECT_EQ(Texels(target.GLName, GL_RGBA, 256 * 128 * 4), std::string(256 * 128 * 4, '\xFF'));
    EXPECT_TRUE(target.GetChildren().empty());

    target.SetClamp(false, true);
    target.SetFilter(0);
    EXPECT_EQ(Parameter(target.GLName, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(Parameter(target.GLName, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
}

TEST_F(TextureResourceTest, UnloadDeletesOnlyWhatWasLoadedAndLogsOnlyNamedTextures)
{
    WriteTexture("stone.bmp", GreyBitmap());
    ZRTexture stone("textures\\stone", nullptr);
    const GLuint name = stone.GLName;
    stone.Unload();
    EXPECT_TRUE(Logged("Deleting Texture: \"textures\\stone\""));
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_FALSE(stone.IsLoaded());

    ZRTexture empty;
    empty.CreateEmpty(4, 4, 255);
    empty.Unload();
    EXPECT_FALSE(Logged("Deleting Texture: \"RESOURCE TEXTURE\""));

    ZRTexture never;
    glGenTextures(1, &never.GLName);
    glBindTexture(GL_TEXTURE_2D, never.GLName);
    never.Unload();
    EXPECT_TRUE(glIsTexture(never.GLName));
    glDeleteTextures(1, &never.GLName);
}

TEST_F(TextureResourceTest, ReflectionsBindTheEnginesSharedTextureWhenItHoldsOne)
{
    ZRTexture own;
    ZRTexture sphere;
    own.CreateEmpty(4, 4, 255);
    sphere.CreateEmpty(4, 4, 255);
    own.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceReflection);
    EXPECT_EQ(own.BindName, own.GLName);
    TE().SharedTexture1 = &sphere;
    own.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceReflection);
    EXPECT_EQ(own.BindName, sphere.GLName);
    own.SetSource(ZRTexture::kGenCubeMap, ZRTexture::kSourceReflection);
    EXPECT_EQ(own.BindName, sphere.GLName);
    own.SetSource(ZRTexture::kGenSphereMap, ZRTexture::kSourceOwn);
    EXPECT_EQ(own.BindName, own.GLName);
}

TEST_F(TextureResourceTest, ReadReferenceTakesTheNameAndLoadsOnlyANonEmptyFileName)
{
    WriteTexture("wood.bmp", GreyBitmap());
    Dir.Write("refs.bin", Stored("Wood") + Stored("textures\\wood") + Stored("Nothing") + Stored(""));
    std::unique_ptr<ZOTFile> file = Engine->FileSystem->OpenForReading(EngineFile("refs.bin"), kFileBinary);
    ZRTexture wood;
    ZRTexture nothing;
    wood.ReadReference(*file);
    nothing.ReadReference(*file);
    EXPECT_EQ(wood.GetName(), "Wood");
    EXPECT_NE(wood.GLName, 0u);
    EXPECT_EQ(nothing.GetName(), "Nothing");
    EXPECT_FALSE(nothing.IsLoaded());
}

TEST_F(TextureResourceTest, ADestroyedTextureLeavesNoReferenceInTheEngine)
{
    auto texture = std::make_unique<ZRTexture>();
    texture->CreateEmpty(4, 4, 255);
    TE().Bind(texture.get(), 2);
    TE().SharedTexture2 = texture.get();
    const GLuint name = texture->GLName;
    texture.reset();
    EXPECT_EQ(TE().Bound[2], nullptr);
    EXPECT_EQ(TE().SharedTexture2, nullptr);
    EXPECT_FALSE(glIsTexture(name));
}
