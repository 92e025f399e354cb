#include <cstdint>
#include <initializer_list>
#include <tuple>
#include <vector>

#include "gl/gl_materialengine.h"
#include "resource/resource_material.h"
#include "texture_test_support.h"

class MaterialEngineTest : public TextureTest {
protected:
    static constexpr Color3 kRed{1.0f, 0.0f, 0.0f};

    GLMaterialEngine& ME() { return *GL->MaterialEngine; }
    TMaterial& Work() { return ME().WorkMaterial->Material; }

    // A step drawing the given texture (none when null) through layer `layer`.
    static TMRenderStep& AddStep(ZRMaterial& material, int32_t style, ZRTexture* texture = nullptr,
                                 uint8_t layer = 0)
    {
        if (texture)
            material.Material.Textures.Layers.at(layer).Texture = texture;
        TMRendering& rendering = material.Material.Rendering;
        rendering.Steps.push_back(TMRenderStep{texture ? layer : kNoLayer, style});
        ++rendering.LastStep;
        return rendering.Steps.back();
    }

    // Applies the materials merged in the order given.
    void Draw(std::initializer_list<const ZRMaterial*> materials)
    {
        ME().Reset();
        for (const ZRMaterial* material : materials)
            ME().SetMaterial(material);
        ME().Apply();
    }

    GLint BoundOn(int32_t unit)
    {
        TE().ActiveTexture(GL_TEXTURE0_ARB + unit);
        return IsOn(GL_TEXTURE_2D) ? Integer(GL_TEXTURE_BINDING_2D) : 0;
    }

    std::vector<GLint> BlendFunction() { return {Integer(GL_BLEND_SRC), Integer(GL_BLEND_DST)}; }
};

TEST_F(MaterialEngineTest, AMaterialThatSetsNoGroupDrawsInTheBaseState)
{
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    ZRMaterial material;
    material.Material.ColorUse = false;
    Draw({&material});

    EXPECT_TRUE(IsOn(GL_DEPTH_TEST) && IsOn(GL_CULL_FACE) && Integer(GL_DEPTH_WRITEMASK));
    EXPECT_FALSE(IsOn(GL_BLEND) || IsOn(GL_LIGHTING) || IsOn(GL_FOG) || IsOn(GL_COLOR_MATERIAL));
    EXPECT_EQ(Integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(Integer(GL_POLYGON_MODE), GL_FILL);
    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_TRUE(ME().Finished());
    EXPECT_EQ(ME().NextPass(), 0);
}

TEST_F(MaterialEngineTest, ApplyWritesTheMergedGroupsAndTheGlobalTint)
{
    ZRMaterial first;
    first.SetDepth(true, false, false);
    first.SetBlending(true, ZOTGL::kBlendOpaque, 1.0f);
    ZRMaterial second;
    second.SetColor(true, kWhite, false, {0.0f, 0.5f, 0.0f}, 20.0f, {0.25f, 0.25f, 0.25f}, {1.0f, 0.5f, 1.0f});
    second.SetTint(1, {1.0f, 1.0f, 0.5f});
    second.SetBlending(true, ZOTGL::kBlendAdditive, 0.8f);
    second.SetCulling(true, false, true);
    second.SetLighting(true, true, false);
    ME().SetGlobalTint(true, {0.5f, 1.0f, 1.0f, 0.5f});
    Draw({&first, &second});

    EXPECT_FALSE(IsOn(GL_DEPTH_TEST) || IsOn(GL_CULL_FACE));
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_FALSE);
    EXPECT_EQ(Integer(GL_FRONT_FACE), GL_CW);
    EXPECT_TRUE(IsOn(GL_LIGHTING) && IsOn(GL_COLOR_MATERIAL) && IsOn(GL_BLEND));
    EXPECT_TRUE(ME().Settings.StaticLightingOn && !ME().Settings.DynamicLightingOn);
    EXPECT_EQ(BlendFunction(), (std::vector<GLint>{GL_SRC_ALPHA, GL_ONE}));
    EXPECT_EQ(Floats(GL_CURRENT_COLOR), (std::vector<GLfloat>{0.5f, 0.5f, 1.0f, 0.4f}));
    GLfloat shininess = 0.0f;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 20.0f);
}

TEST_F(MaterialEngineTest, FogAndGeometryTypesSelectTheirGLModes)
{
    ZRMaterial material;
    material.SetFog(true, 3, 30.0f, 5.0f, 0.2f, {0.0f, 0.5f, 1.0f});
    Draw({&material});
    EXPECT_TRUE(IsOn(GL_FOG));
    EXPECT_EQ(Integer(GL_FOG_MODE), GL_EXP2);
    EXPECT_EQ(Floats(GL_FOG_DENSITY, 1)[0], 0.2f);
    EXPECT_EQ(Floats(GL_FOG_COLOR), (std::vector<GLfloat>{0.0f, 0.5f, 1.0f, 1.0f}));
    material.SetFog(true, 7, 30.0f, 5.0f, 0.2f, kWhite);
    material.SetGeometry(true, 2, true, 2.0f, 0.0f, true);
    Draw({&material});
    EXPECT_FALSE(IsOn(GL_FOG));
    EXPECT_EQ(Integer(GL_POLYGON_MODE), GL_POINT);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
    material.SetGeometry(true, 9, false, 1.0f, 1.0f, false);
    Draw({&material});
    EXPECT_EQ(Integer(GL_POLYGON_MODE), GL_FILL);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MaterialEngineTest, PlainMultiplyStepsShareADrawingUpToTheHighestUnit)
{
    ZRTexture base, detail;
    MakeRaw(base, kImageRGB);
    MakeRaw(detail, kImageRGB);
    ZRMaterial material;
    material.Material.Textures.Layers[1].ScaleX = 4.0f;
    AddStep(material, ZOTGL::kBlendOpaque, &base, 0);
    AddStep(material, ZOTGL::kBlendMultiply, &detail, 1);
    Draw({&material});
    const std::vector<GLint> blendBefore = BlendFunction();
    EXPECT_EQ(ME().NextPass(), 2);
    EXPECT_EQ(BlendFunction(), blendBefore);
    EXPECT_EQ(BoundOn(0), static_cast<GLint>(base.GLName));
    EXPECT_EQ(BoundOn(1), static_cast<GLint>(detail.GLName));
    EXPECT_EQ(BoundOn(2), 0);
    EXPECT_EQ(ME().Settings.Passes.UnitTransform[1].ScaleX, 4.0f);
    EXPECT_TRUE(ME().Finished());

    AddStep(material, ZOTGL::kBlendMultiply, &detail, 1);
    AddStep(material, ZOTGL::kBlendMultiply, &detail, 1).ColorOn = true;
    TE().MaxUnit = 1;
    Draw({&material});
    EXPECT_EQ(ME().NextPass(), 2);
    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_TRUE(ME().Finished());
}

TEST_F(MaterialEngineTest, LaterDrawingsAreBlendedUnlitAndTurnOpaqueIntoMultiply)
{
    ZRTexture texture;
    MakeRaw(texture, kImageRGB);
    ZRMaterial lit;
    lit.SetLighting(true, true, true);
    AddStep(lit, ZOTGL::kBlendOpaque, &texture);
    ZRMaterial glow;
    TMRenderStep& step = AddStep(glow, ZOTGL::kBlendAdditive);
    step.ColorOn = true;
    step.Color = kRed;
    step.DensityOn = true;
    step.Density = 0.25f;
    AddStep(glow, ZOTGL::kBlendOpaque);
    Draw({&lit, &glow});

    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_TRUE(IsOn(GL_LIGHTING));
    EXPECT_FALSE(ME().Finished());
    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_TRUE(IsOn(GL_BLEND));
    EXPECT_FALSE(IsOn(GL_LIGHTING));
    EXPECT_EQ(BoundOn(0), 0);
    EXPECT_EQ(BlendFunction(), (std::vector<GLint>{GL_SRC_ALPHA, GL_ONE}));
    EXPECT_EQ(Floats(GL_CURRENT_COLOR), (std::vector<GLfloat>{1.0f, 0.0f, 0.0f, 0.25f}));
    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_EQ(BlendFunction(), (std::vector<GLint>{GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_TRUE(ME().Finished());
}

TEST_F(MaterialEngineTest, PulsateBlendsDiffuseAndDensityTowardsItsTargetsByTheModesFactor)
{
    // Mode, timer, offset and the factor that follows.
    const std::vector<std::tuple<int32_t, float, float, float>> cases = {
        {1, 0.5f, 0.0f, 0.7397128f},   // sin(0.5) / 2 + 1/2
        {2, 0.5f, 0.1f, 0.7f},         // 2 * frac(0.35)
        {2, 1.5f, 0.0f, 0.5f},         // frac(0.75) folds to 0.25
        {3, 2.0f, 0.0f, 0.9092974f},   // |sin(2)|
        {4, 0.02f, 0.0f, 0.0f},        // frac(0.2) is in the dark half
        {4, 0.07f, 0.0f, 1.0f},        // 0.05 later it is lit
        {0, 0.5f, 0.0f, 1.0f},
    };
    ZRMaterial material;
    for (const auto& [mode, time, offset, factor] : cases) {
        material.SetPulsate(true, mode, offset, 1.0f, 0.0f, {0.0f, 0.0f, 0.0f});
        ME().WorkMaterial->SetTimer(1, time);
        Draw({&material});
        EXPECT_NEAR(Work().Diffuse.r, factor, 1e-5f) << mode << " at " << time;
        EXPECT_NEAR(Work().BlendDensity, factor, 1e-5f) << mode << " at " << time;
    }
    ME().Reset();
    EXPECT_EQ(Work().Diffuse.r, 1.0f);
}

TEST_F(MaterialEngineTest, PredefinedEffectTakesTheSlotsItsEntriesName)
{
    ZRTexture replaced, chosen;
    ME().SetPredefinedDensity(2, 0.25f);
    ME().SetPredefinedColor(3, kRed);
    ME().SetPredefinedTexture(5, &chosen);
    ME().SetPredefinedDensity(32, 0.0f);
    ME().SetPredefinedColor(-1, kRed);
    ME().Reset();
    ME().WorkMaterial->SetPredefined(true, 2, 5, 3);
    ME().SetTexture(&replaced);
    ME().Apply();
    EXPECT_EQ(Work().BlendDensity, 0.25f);
    EXPECT_EQ(Work().Diffuse.g, 0.0f);
    EXPECT_EQ(ME().Settings.Passes.Items[0].Texture, &chosen);

    ME().Reset();
    ME().WorkMaterial->SetPredefined(true, 40, 32, -1);
    ME().SetTexture(&replaced);
    ME().Apply();
    EXPECT_EQ(Work().BlendDensity, 1.0f);
    EXPECT_EQ(ME().Settings.Passes.Items[0].Texture, &replaced);
}

TEST_F(MaterialEngineTest, AcceptFiltersBlendedMaterialsAndResetsWhatItRefuses)
{
    ME().Reset();
    ME().SetColorBlend(ZOTGL::kBlendAdditive, kWhite, 1.0f);
    EXPECT_TRUE(ME().Accept());
    ME().Settings.AcceptBlended = false;
    ME().SetTexture(nullptr);
    EXPECT_FALSE(ME().Accept());
    EXPECT_FALSE(ME().Blends());

    ME().MaterialsOn = false;
    ME().SetColorBlend(ZOTGL::kBlendAdditive, kWhite, 1.0f);
    EXPECT_TRUE(ME().Accept());
    ME().Settings.AcceptBlendedWhenOff = false;
    EXPECT_FALSE(ME().Accept());
    EXPECT_TRUE(ME().Accept());
    ME().Settings.SkipWhenOff = true;
    EXPECT_FALSE(ME().Accept());
}

TEST_F(MaterialEngineTest, ASingleTexturedStepIsBoundByApplyAndAlphaTestedOnlyWhenUnblended)
{
    ZRTexture texture;
    MakeRaw(texture, kImageRGBA);
    ZRMaterial material;
    AddStep(material, ZOTGL::kBlendOpaque, &texture);
    material.SetBlending(true, ZOTGL::kBlendAdditive, 1.0f);
    Draw({&material});
    EXPECT_EQ(BoundOn(0), static_cast<GLint>(texture.GLName));
    EXPECT_FALSE(IsOn(GL_ALPHA_TEST));
    EXPECT_EQ(ME().NextPass(), 1);
    EXPECT_TRUE(ME().Finished());

    TE().ResetBound();
    material.SetBlending(true, ZOTGL::kBlendOpaque, 1.0f);
    Draw({&material});
    EXPECT_TRUE(IsOn(GL_ALPHA_TEST));
    EXPECT_EQ(Floats(GL_ALPHA_TEST_REF, 1)[0], 0.5f);
}
