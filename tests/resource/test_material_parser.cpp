#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/zot_script.h"
#include "gl/gl_test_support.h"
#include "resource/resource_material.h"
#include "resource/resource_texture.h"
#include "test_support.h"

namespace {

using Lines = std::vector<std::string>;

// Parses lines as the script of a fresh material. A material needs no engine
// or GL module to go, so it may outlive both.
template <typename Base>
class ScriptFixture : public Base {
protected:
    const TMaterial& Parse(const Lines& lines)
    {
        Material = std::make_unique<ZRMaterial>();
        for (const std::string& line : lines)
            ZOTScript::AppendLine(Material->Material.Script, line);
        Material->ParseScript();
        return Material->Material;
    }

    std::unique_ptr<ZRMaterial> Material;
};

std::array<float, 3> Rgb(const Color3& c) { return {c.r, c.g, c.b}; }
using F3 = std::array<float, 3>;

}  // namespace

using MaterialParser = ScriptFixture<EngineTest>;
using MaterialParserGL = ScriptFixture<GLTest>;

// The tamsel-inspect test shows a name, an import and one-line commands
// through the tool. Here a step names layer 6 before the import that creates it.
TEST_F(MaterialParserGL, ImportsGrowTheLayersWithBlankGaps)
{
    const TMaterial& m = Parse({"SET_RENDERING STEP1 TEX6", "IMPORT_TEXTURE TEX6 \"textures\\a\"", "TEX5 {",
                                "SET_SCALE 3 3", "}", "IMPORT_TEXTURE TEX2"});
    ASSERT_EQ(m.Textures.LastLayer, 6);
    ASSERT_NE(m.Textures.Layers.at(6).Texture, nullptr);
    EXPECT_EQ(m.Textures.Layers[6].Texture->GetParent(), Material.get());
    EXPECT_EQ(m.Textures.Layers[4].ScaleX, 0.0f);
    EXPECT_EQ(m.Textures.Layers[5].ScaleX, 3.0f);
    EXPECT_EQ(m.Textures.Layers[2].Texture, nullptr);
    ASSERT_EQ(m.Rendering.LastStep, 1);
    EXPECT_EQ(m.Rendering.Steps[1].Layer, 6);
}

// Steps skipped by SET_RENDERING name no layer.
TEST_F(MaterialParser, OneLineCommands)
{
    const TMaterial& m = Parse({"SET_BLENDING ADDITIVE 0.5", "SET_RENDERING STEP2 TEX1 MULTIPLY"});
    EXPECT_TRUE(m.BlendUse && m.DepthUse && m.DepthTest && !m.DepthWrite);
    ASSERT_EQ(m.Rendering.LastStep, 2);
    EXPECT_EQ(m.Rendering.Steps[1].Layer, kNoLayer);

    const TMaterial& o = Parse({"SET_OUTLINE 0.1 0.2 0.3 2.5 1"});
    EXPECT_EQ(Rgb(o.Ambient), (F3{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(Rgb(o.Diffuse), Rgb(o.Ambient));
    EXPECT_FLOAT_EQ(o.LineWidth, 2.5f);
    EXPECT_TRUE(o.CullUse && o.GeometryUse && o.BackFacesOnly && !o.StaticLighting);
}

TEST_F(MaterialParser, CelKeepsItsFirstStepAndResetsTheSecond)
{
    const TMaterial& m = Parse({"RENDERING {", "STEP0 {", "COLOR 0.5 0.5 0.5", "}", "STEP1", "DENSITY 0.3", "}", "}",
                                "SET_CEL STEP0 TEX1 TEX2", "SET_CEL STEP3 TEX0 TEX9"});
    ASSERT_EQ(m.Rendering.LastStep, 4);
    const std::vector<TMRenderStep>& steps = m.Rendering.Steps;
    EXPECT_EQ(steps[0].Layer, 1);
    EXPECT_TRUE(steps[0].ColorOn);
    EXPECT_EQ(steps[1].Layer, 2);
    EXPECT_EQ(steps[1].Style, 5);
    EXPECT_FALSE(steps[1].DensityOn);
    EXPECT_EQ(steps[3].Layer, 0);
    EXPECT_EQ(steps[4].Layer, kNoLayer);
    EXPECT_TRUE(m.Textures.Layers[2].EnvironmentOn);
    EXPECT_TRUE(m.LightingUse && !m.StaticLighting && !m.DynamicLighting);
}

// One or two entries of a few blocks; an entry of another block is ignored.
TEST_F(MaterialParser, TopLevelBlocks)
{
    const TMaterial& m = Parse({"COLOR {", "AMBIENT 0.1 0.2 0.3", "SHININESS 8", "}", "BLENDING {", "USE 0",
                                "MODE NEGATIVE", "}", "FOG {", "FAR 9", "SHININESS 3", "}", "EFFECT_PREDEFINED {",
                                "STEP2 PREDEF7", "}"});
    EXPECT_EQ(Rgb(m.Ambient), (F3{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(m.Shininess, 8.0f);
    EXPECT_EQ(m.BlendMode, 3);
    EXPECT_TRUE(m.FogUse && m.PredefinedUse && m.EffectsUse && !m.BlendUse);
    EXPECT_EQ(m.FogFar, 9.0f);
    EXPECT_EQ(m.PredefinedStep, (std::array<int32_t, 4>{-1, -1, 7, -1}));
}

// A nested "}" closes only its own block: the entries after it still belong
// to the enclosing block, and the next "}" ends that one.
TEST_F(MaterialParser, NestedBlocksCloseOnlyThemselves)
{
    const TMaterial& m = Parse({"TEX1 {", "ENVIRONMENTMAP {", "TYPUS CUBEMAP", "}", "ANIMATION {", "COUNT 8", "}",
                                "SET_SCALE 4 5", "}", "SET_SCALE 6 7", "RENDERING {", "STEP1 {", "TEXTURE TEX1", "}",
                                "SET_BLENDING ADDITIVE 0.5", "STEP0", "DENSITY 0.25", "}", "}", "FOG {", "}"});
    const TMTextureLayer& layer = m.Textures.Layers[1];
    EXPECT_TRUE(layer.EnvironmentOn && layer.AnimationOn && !layer.RollOn);
    EXPECT_EQ(layer.EnvironmentType, 2);
    EXPECT_EQ(layer.AnimationCount, 8);
    EXPECT_EQ(layer.ScaleX, 4.0f);
    ASSERT_EQ(m.Rendering.LastStep, 1);
    EXPECT_EQ(m.Rendering.Steps[1].Layer, 1);
    EXPECT_TRUE(m.Rendering.Steps[0].DensityOn && m.FogUse && !m.BlendUse);
}

TEST_F(MaterialParser, IgnoredLinesMissingArgumentsAndUnclosedBlocks)
{
    const TMaterial& m = Parse({"set_blending ADDITIVE 0.5", "color {", "DIFFUSE 0 0 0", "}", "SET_BLENDING",
                                "COLOR {", "AMBIENT 0.5 0.5", "SHININESS", "}", "ROLL {", "SPEEDX 2", "}",
                                "SET_RENDERING STEP0 TEX0 MULTIPLIED", "MATERIAL_NAME", "FOG {", "TYPUS EXP3", "}",
                                "TEX2 {", "ROLL {", "SPEEDY 3", "}", "SET_SCALE 2 2"});
    EXPECT_EQ(Rgb(m.Diffuse), (F3{1, 1, 1}));
    EXPECT_EQ(Rgb(m.Ambient), (F3{0, 0, 0}));
    EXPECT_EQ(m.Shininess, 1.0f);
    EXPECT_TRUE(m.BlendUse);
    EXPECT_EQ(m.BlendMode, 0);
    EXPECT_FALSE(m.Textures.Layers[0].EffectsOn);
    EXPECT_EQ(m.Rendering.Steps[0].Style, 0);
    EXPECT_EQ(Material->GetName(), "RESOURCE MATERIAL");
    EXPECT_EQ(m.FogType, 0);
    EXPECT_EQ(m.Textures.Layers[2].ScaleX, 2.0f);
}

TEST_F(MaterialParser, IndicesOutsideTheLayersAndStepsWriteNothing)
{
    const TMaterial& m = Parse({"SET_RENDERING STEP0 TEX6", "SET_RENDERING STEP1 TEX3", "SET_RENDERING STEP2 TEX300",
                                "SET_RENDERING STEP-1 TEX0", "SET_RENDERING STEP256 TEX0", "SET_CEL STEP255 TEX0 TEX1",
                                "SET_CEL STEP3 TEX0 TEX", "TEX7 {", "SET_BLENDING ADDITIVE 0.5", "ROLL {", "}", "}",
                                "TEX {", "}", "RENDERING {", "STEPX {", "TEXTURE TEX0", "}", "}",
                                "IMPORT_TEXTURE TEX256 \"a\"", "IMPORT_TEXTURE TEX \"a\""});
    ASSERT_EQ(m.Rendering.LastStep, 4);
    for (int step : {0, 2, 4})
        EXPECT_EQ(m.Rendering.Steps.at(static_cast<size_t>(step)).Layer, kNoLayer) << step;
    EXPECT_EQ(m.Rendering.Steps[1].Layer, 3);
    EXPECT_FALSE(m.BlendUse);
    ASSERT_EQ(m.Textures.LastLayer, 3);
    for (const TMTextureLayer& layer : m.Textures.Layers)
        EXPECT_EQ(layer.Texture, nullptr);
}

// Random bytes, keyword soup with absurd indices, and blocks opened far
// deeper than the grammar nests.
TEST_F(MaterialParserGL, TenThousandLinesOfJunk)
{
    const Lines words{"{", "}", "TEX0", "TEX3", "TEX255", "TEX2147483647", "STEP0", "STEP254", "STEP99999999",
                      "PREDEF5", "RENDERING", "ANIMATION", "ROLL", "ENVIRONMENTMAP", "COLOR", "IMPORT_TEXTURE",
                      "SET_CEL", "SET_RENDERING", "TEXTURE", "COUNT", "OFFSET", "PATTERNSIZEX", "TYPUS", "TEXTURES",
                      "EFFECT_PREDEFINED", "0", "-1", "1e39", "nan", "\""};
    std::mt19937 random(1234);
    Lines lines;
    while (lines.size() < 10000) {
        std::string line;
        const unsigned kind = random() % 3;
        for (unsigned n = random() % 80; kind == 0 && n > 0; --n)
            line += static_cast<char>(random() % 256);
        for (unsigned n = random() % 5; kind == 1 && n > 0; --n)
            line += words[random() % words.size()] + " ";
        lines.push_back(kind == 2 ? words[random() % 15] + " {" : line);
    }
    const TMaterial& m = Parse(lines);
    EXPECT_EQ(m.Textures.Layers.size(), static_cast<size_t>(m.Textures.LastLayer) + 1);
    EXPECT_LE(m.Textures.LastLayer, 255);
    EXPECT_EQ(m.Rendering.Steps.size(), static_cast<size_t>(m.Rendering.LastStep + 1));
    EXPECT_LE(m.Rendering.LastStep, 255);
    Material->SetTimer(1, 12.5f);
    for (int32_t i = 0; i <= m.Rendering.LastStep; ++i) {
        const uint8_t layer = m.Rendering.Steps[static_cast<size_t>(i)].Layer;
        EXPECT_TRUE(layer == kNoLayer || layer <= m.Textures.LastLayer);
        Material->GetStep(i);
    }
}
