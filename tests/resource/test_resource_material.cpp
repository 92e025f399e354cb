#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/file_file.h"
#include "core/zot_script.h"
#include "core/zot_timer.h"
#include "gl/gl_test_support.h"
#include "resource/image_test_support.h"
#include "resource/resource_material.h"
#include "resource/resource_texture.h"
#include "test_support.h"

using image_files::Le16;
using image_files::Le32;

namespace {

using F3 = std::array<float, 3>;
F3 Rgb(const Color3& c) { return {c.r, c.g, c.b}; }

// A material as a model file stores it: name, ambient, diffuse, specular,
// shininess, emissive, the four model texture slots and the script as
// 56-byte line records.
std::string ModelMaterial(const std::vector<std::string>& script)
{
    std::string bytes = Le16(4) + "skin";
    for (float value : {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 1.0f, 1.0f, 1.0f, 16.0f, 0.0f, 0.0f, 0.5f}) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        bytes += Le32(bits);
    }
    bytes += std::string("\x00\x02\xFF\x01", 4) + Le32(static_cast<int64_t>(script.size()));
    for (const std::string& line : script)
        bytes += static_cast<char>(line.size()) + line + std::string(55 - line.size(), '\0');
    return bytes;
}

}  // namespace

// The material and texture need no engine, so they may outlive it.
class MaterialResource : public EngineTest {
protected:
    // Step 0 draws layer, which holds texture with its effects and the animation on, at time t.
    TMTextureLayer& DrawLayer(int32_t layer, ZRTexture* texture, float t, int32_t animation = kAnimationNone)
    {
        Material.Material.Rendering = TMRendering{std::vector<TMRenderStep>(1), 0};
        Material.Material.Rendering.Steps[0].Layer = static_cast<uint8_t>(layer);
        TMTextureLayer& drawn = *Material.LayerAt(layer);
        drawn.Texture = texture;
        drawn.EffectsOn = true;
        drawn.AnimationOn = animation != kAnimationNone;
        drawn.AnimationType = animation;
        Material.SetTimer(kTimerOwn, t);
        return drawn;
    }

    void LoadModelMaterial(const std::string& bytes)
    {
        Dir.Write("model.bin", bytes);
        ZOTFile file(nullptr);
        file.OpenForReading(EngineFile("model.bin"), kFileBinary);
        Material.ReadFromModel(file);
    }

    ZRMaterial Material;
    ZRTexture Texture;
};

TEST_F(MaterialResource, RollAndEnvironmentMap)
{
    TMTextureLayer& layer = DrawLayer(2, &Texture, 2.0f);
    layer.RollOn = layer.EnvironmentOn = true;
    layer.RollSpeedX = 0.1f;
    layer.RollOffsetX = 0.3f;
    layer.RollOffsetY = 0.25f;
    layer.EnvironmentType = layer.EnvironmentSource = 1;
    TMStepState state = Material.GetStep(0);
    EXPECT_EQ(state.Texture, &Texture);
    EXPECT_FLOAT_EQ(state.OffsetX, 0.5f);
    EXPECT_FLOAT_EQ(state.OffsetY, 2.25f);
    EXPECT_EQ(std::tie(Texture.GenMode, Texture.MapSource), std::make_tuple(1, 1));

    layer.EffectsOn = false;
    state = Material.GetStep(0);
    EXPECT_EQ(state.OffsetX, 0.0f);
    EXPECT_EQ(std::tie(Texture.GenMode, Texture.MapSource), std::make_tuple(0, 0));
}

TEST_F(MaterialResource, PatternAnimationRoundsToEvenKeepsTheSignOfTheFrameAndSkipsDegeneratePatterns)
{
    TMTextureLayer& layer = DrawLayer(0, &Texture, 0, kAnimationPattern);
    // Time, then the offsets it gives.
    for (const auto& [t, x, y] : {std::array{0.55f, 0.5f, -0.25f}, std::array{0.25f, 0.5f, 0.0f},
                                  std::array{1.7f, 0.25f, 0.0f}, std::array{-0.1f, -0.25f, 0.0f},
                                  std::array{1.5f, 0.75f, -0.75f}}) {
        Material.SetTimer(kTimerOwn, t);
        const TMStepState state = Material.GetStep(0);
        EXPECT_FLOAT_EQ(state.OffsetX, x) << t;
        EXPECT_FLOAT_EQ(state.OffsetY, y) << t;
    }
    layer.AnimationOffsetX = 0.125f;
    layer.AnimationOffsetY = 0.5f;
    Material.SetTimer(kTimerOwn, 0.55f);
    EXPECT_FLOAT_EQ(Material.GetStep(0).OffsetX, 0.625f);
    EXPECT_FLOAT_EQ(Material.GetStep(0).OffsetY, 0.25f);

    // Degenerate patterns give no animation at all.
    const TMTextureLayer animated = layer;
    for (auto spoil : std::vector<void (*)(TMTextureLayer&)>{
             [](TMTextureLayer& l) { l.PatternSizeX = 0; }, [](TMTextureLayer& l) { l.PatternSizeX = -0.25f; },
             [](TMTextureLayer& l) { l.PatternSizeX = 3; }, [](TMTextureLayer& l) { l.AnimationCount = 0; },
             [](TMTextureLayer& l) { l.AnimationCount = -4; }, [](TMTextureLayer& l) { l.AnimationSpeed = 1e30f; }}) {
        layer = animated;
        spoil(layer);
        const TMStepState state = Material.GetStep(0);
        EXPECT_EQ(state.OffsetX, 0.0f);
        EXPECT_EQ(state.OffsetY, 0.0f);
    }
}

TEST_F(MaterialResource, TextureAnimationStaysWithinTheLayers)
{
    std::array<ZRTexture, 4> textures;
    for (int32_t i = 0; i < 4; ++i)
        Material.LayerAt(i)->Texture = &textures[static_cast<size_t>(i)];
    TMTextureLayer& layer = DrawLayer(1, &textures[1], 2.0f, kAnimationTextures);
    layer.AnimationSpeed = 1;
    layer.AnimationCount = 4;
    EXPECT_EQ(Material.GetStep(0).Texture, &textures[3]);
    for (float t : {3.0f, -2.0f}) {
        Material.SetTimer(kTimerOwn, t);
        EXPECT_EQ(Material.GetStep(0).Texture, &textures[1]);
    }
}

TEST_F(MaterialResource, StepsOutsideTheRenderingAreBlankAndTimerSources)
{
    for (const char* line : {"RENDERING {", "STEP0 {", "COLOR 0.5 0 0"})
        ZOTScript::AppendLine(Material.Material.Script, line);
    Material.ParseScript();
    EXPECT_TRUE(Material.GetStep(0).ColorOn);
    EXPECT_FALSE(Material.GetStep(1).ColorOn);
    EXPECT_FALSE(Material.GetStep(-1).ColorOn);

    Engine->Timer->ElapsedTime = 4.5f;
    EXPECT_EQ(Material.GetTime(), 4.5f);
    Material.SetTimer(7, 1.0f);
    EXPECT_EQ(Material.GetTime(), -1.0f);
    EXPECT_TRUE(Logged("  ERROR: ZR_MATERIAL: Undefined material timer source!"));
}

TEST_F(MaterialResource, LoadFromFileCutsLongLinesAndReloadsInPlace)
{
    std::filesystem::create_directories(Dir.File("materials"));
    Dir.Write("materials/cut.txt", "SET_RENDERING STEP3\r\nSET_BLENDING ADDITIVE" + std::string(40, ' ') + "0.5\r\n");
    Material.LoadFromFile("materials\\cut");
    const TMaterial& m = Material.Material;
    EXPECT_TRUE(Material.IsLoaded());
    EXPECT_EQ(Material.GetName(), "materials\\cut");
    EXPECT_EQ(m.BlendMode, 1);
    EXPECT_EQ(m.BlendDensity, 1.0f);
    EXPECT_EQ(m.Rendering.LastStep, 3);

    Dir.Write("materials/cut.txt", "FOG {");
    Material.LoadFromFile("materials\\cut");
    EXPECT_EQ(m.Rendering.LastStep, -1);
    EXPECT_FALSE(m.BlendUse);
    EXPECT_TRUE(m.FogUse);

    Material.LoadFromFile("materials\\none");
    EXPECT_FALSE(Material.IsLoaded());
    EXPECT_TRUE(Logged("  ERROR: ZT_FILE: File \"" + EngineFile("materials/none.txt") + "\" not found!"));
}

TEST_F(MaterialResource, ReadFromModelKeepsTheModelColoursUnlessTheScriptSetsThem)
{
    LoadModelMaterial(ModelMaterial({"SET_RENDERING STEP0 TEX1"}));
    const TMaterial& m = Material.Material;
    EXPECT_TRUE(Material.IsLoaded());
    EXPECT_EQ(Material.GetName(), "skin");
    EXPECT_EQ(Rgb(m.Ambient), (F3{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(Rgb(m.Diffuse), (F3{0.4f, 0.5f, 0.6f}));
    EXPECT_EQ(m.Shininess, 16.0f);
    EXPECT_EQ(Rgb(m.Emissive), (F3{0, 0, 0.5f}));

    std::array<ZRTexture, 3> model;
    Material.AssignModelTextures({&model[0], &model[1], &model[2]});
    EXPECT_EQ(m.Textures.Layers[0].Texture, &model[0]);
    EXPECT_EQ(m.Textures.Layers[2].Texture, nullptr);
    EXPECT_EQ(m.Textures.Layers[3].Texture, &model[1]);
    EXPECT_EQ(Material.GetStep(0).Texture, &model[2]);

    LoadModelMaterial(ModelMaterial({"COLOR {", "AMBIENT 1 0 0", "}"}));
    EXPECT_EQ(Rgb(m.Ambient), (F3{1, 0, 0}));
    EXPECT_EQ(Rgb(m.Diffuse), (F3{0.4f, 0.5f, 0.6f}));

    const std::string whole = ModelMaterial({"FOG {"});
    EXPECT_THROW(LoadModelMaterial(whole.substr(0, whole.size() - 10)), ZOTIOError);
    EXPECT_THROW(LoadModelMaterial(whole.substr(0, 30)), ZOTIOError);
}

class MaterialResourceGL : public GLTest {};

TEST_F(MaterialResourceGL, OwnedTexturesAreFreedAtOnceAndModelTexturesNever)
{
    ZRTexture model;
    auto material = std::make_unique<ZRMaterial>();
    const int64_t alone = ZOTObject::InstanceCount();
    for (const char* line : {"IMPORT_TEXTURE TEX0 \"textures\\a\"", "IMPORT_TEXTURE TEX0 \"textures\\b\"",
                             "IMPORT_TEXTURE TEX1 \"textures\\c\""})
        ZOTScript::AppendLine(material->Material.Script, line);
    material->ParseScript();
    EXPECT_EQ(ZOTObject::InstanceCount(), alone + 2);
    EXPECT_EQ(material->Material.Textures.Layers[0].Texture->Settings.FileName, "textures\\b");

    material->ParseScript();
    EXPECT_EQ(ZOTObject::InstanceCount(), alone + 2);
    material->Material.Textures.LayerTexture[1] = 0;
    material->AssignModelTextures({&model});
    EXPECT_EQ(ZOTObject::InstanceCount(), alone);
    EXPECT_EQ(material->Material.Textures.Layers[1].Texture, &model);

    material->ParseScript();
    material->Unload();
    EXPECT_EQ(ZOTObject::InstanceCount(), alone);
    EXPECT_EQ(material->Material.Textures.LastLayer, -1);
    material->ParseScript();
    material.reset();
    EXPECT_EQ(ZOTObject::InstanceCount(), alone - 1);
}
