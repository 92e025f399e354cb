// The cat, its fur shells and the butterflies, drawn in a hidden window with
// the calls into the program entry points recorded.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <vector>

#include "app/app_butterfly.h"
#include "app/app_gl_models.h"
#include "gl/gl_camera.h"
#include "gl/gl_shaderengine.h"
#include "gl/gl_textureengine.h"
#include "math/zot_math.h"
#include "platform/platform_gl.h"
#include "resource/resource_animation.h"
#include "resource/resource_list.h"
#include "resource/resource_model.h"
#include "scene_test_support.h"

namespace {

struct LocalCall {
    GLenum Target;
    // The program the call set a parameter of, and whether it was drawing.
    GLint Program;
    bool Active;
    GLuint Index;
    float X, Y, Z, W;
};

// The entry points are plain function pointers, so the recorders reach
// their lists and the real entry points through these.
std::vector<LocalCall>* LocalCalls = nullptr;
std::vector<GLuint>* BoundPrograms = nullptr;
PFNGLPROGRAMLOCALPARAMETER4FARBPROC RealLocal = nullptr;
PFNGLBINDPROGRAMARBPROC RealBind = nullptr;
PFNGLGETPROGRAMIVARBPROC GetProgram = nullptr;

void APIENTRY RecordLocal(GLenum target, GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    GLint program = 0;
    GetProgram(target, GL_PROGRAM_BINDING_ARB, &program);
    LocalCalls->push_back({target, program, glIsEnabled(target) == GL_TRUE, index, x, y, z, w});
    RealLocal(target, index, x, y, z, w);
}

void APIENTRY RecordBind(GLenum target, GLuint program)
{
    BoundPrograms->push_back(program);
    RealBind(target, program);
}

class FurModels : public GardenScene {
protected:
    void SetUp() override
    {
        GardenScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        GLShaderEngine& shaders = *GL->ShaderEngine;
        RealLocal = shaders.glProgramLocalParameter4fARB;
        RealBind = shaders.glBindProgramARB;
        GetProgram = reinterpret_cast<PFNGLGETPROGRAMIVARBPROC>(platform::GetProcAddress("glGetProgramivARB"));
        LocalCalls = &Locals;
        BoundPrograms = &Binds;
        shaders.glProgramLocalParameter4fARB = RecordLocal;
        shaders.glBindProgramARB = RecordBind;
        LookAtTheCat();
    }
    void TearDown() override
    {
        if (GL && RealLocal) {
            GL->ShaderEngine->glProgramLocalParameter4fARB = RealLocal;
            GL->ShaderEngine->glBindProgramARB = RealBind;
        }
        GardenScene::TearDown();
    }
    TSceneParams Params() const override
    {
        TSceneParams params;
        params.FurShells = Shells;
        params.ButterflyCount = 0;
        return params;
    }

    // From where the scene's camera starts.
    void LookAtTheCat()
    {
        const Vector3 rotation{-20.0f, 180.0f, 0.0f};
        Vector3 eye{0.0f, 0.2f, 0.0f};
        Engine->Math->MoveForward(rotation, eye, -2.0f);
        GL->Camera->SetPositionRotation(eye, rotation);
        GL->ResetView();
    }
    // One frame of the models, with the calls it makes recorded afresh.
    void DrawFrame()
    {
        Locals.clear();
        Binds.clear();
        GL->SkinsThisFrame = 0;
        Scene->Models->Update();
        Scene->Models->Draw();
    }
    // What was handed to one of the fur programs while it was drawing.
    std::vector<LocalCall> LocalsOf(GLenum target) const
    {
        const ZAGLSModels& models = *Scene->Models;
        const ZRShader& program = target == GL_VERTEX_PROGRAM_ARB ? *models.ShellProgram : *models.FurProgram;
        std::vector<LocalCall> calls;
        for (const LocalCall& call : Locals)
            if (call.Target == target && call.Active && call.Program == static_cast<GLint>(program.ProgramName))
                calls.push_back(call);
        return calls;
    }
    // What the shells leave behind is what every later part starts from.
    void ExpectStateReset() const
    {
        EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB) || IsOn(GL_FRAGMENT_PROGRAM_ARB)) << "a fur program still on";
        GLboolean depthWrite = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrite);
        EXPECT_EQ(depthWrite, GL_TRUE);
        for (const GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE2_ARB}) {
            GL->TextureEngine->ActiveTexture(unit);
            EXPECT_FALSE(IsOn(GL_TEXTURE_2D)) << "unit " << unit - GL_TEXTURE0_ARB << " still textured";
        }
        GL->TextureEngine->ActiveTexture(GL_TEXTURE0_ARB);
    }

    int32_t Shells = 5;
    std::vector<LocalCall> Locals;
    std::vector<GLuint> Binds;
};

}  // namespace

TEST_F(FurModels, EachShellHandsItsOffsetAndHeightToThePrograms)
{
    DrawFrame();
    const std::vector<LocalCall> offsets = LocalsOf(GL_VERTEX_PROGRAM_ARB);
    const std::vector<LocalCall> heights = LocalsOf(GL_FRAGMENT_PROGRAM_ARB);
    const float wantOffset[] = {0.005f, 0.01f, 0.015f, 0.02f};
    const float wantRoot[] = {0.866f, 0.707f, 0.5f, 0.0f};
    const float wantHeight[] = {0.25f, 0.5f, 0.75f, 1.0f};
    ASSERT_EQ(offsets.size(), 4u);
    ASSERT_EQ(heights.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const LocalCall& v = offsets[i];
        EXPECT_EQ(v.Index, 0u);
        EXPECT_NEAR(v.X, wantOffset[i], 1e-6f) << "shell " << i + 1;
        EXPECT_TRUE(v.X == v.Y && v.Y == v.Z && v.W == 0.0f) << "shell " << i + 1;
        const LocalCall& f = heights[i];
        EXPECT_EQ(f.Index, 0u);
        EXPECT_NEAR(f.X, wantRoot[i], 1e-3f) << "shell " << i + 1;
        EXPECT_NEAR(f.Y, wantHeight[i], 1e-6f) << "shell " << i + 1;
        EXPECT_TRUE(f.Z == 0.0f && f.W == 0.0f) << "shell " << i + 1;
    }
    ExpectStateReset();
}

TEST_F(FurModels, TheCatIsSkinnedAtMostTwiceAFrameWhateverTheShells)
{
    for (const int32_t shells : {2, 5, 16, 64}) {
        Scene->Params.FurShells = shells;
        DrawFrame();
        EXPECT_EQ(GL->SkinsThisFrame, 2u) << shells << " shells";
    }
    Scene->DisplayBaseModel = false;
    DrawFrame();
    EXPECT_EQ(GL->SkinsThisFrame, 1u) << "shells alone";
    EXPECT_EQ(LocalsOf(GL_VERTEX_PROGRAM_ARB).size(), 63u);
    Scene->DisplayFur = false;
    DrawFrame();
    EXPECT_EQ(GL->SkinsThisFrame, 0u);
    EXPECT_TRUE(Binds.empty()) << "fur programs bound with the fur off";
}

TEST_F(FurModels, NoShellsStillBindUnbindAndReset)
{
    for (const int32_t shells : {1, 0, -3}) {
        Scene->Params.FurShells = shells;
        DrawFrame();
        EXPECT_TRUE(LocalsOf(GL_VERTEX_PROGRAM_ARB).empty() && LocalsOf(GL_FRAGMENT_PROGRAM_ARB).empty())
            << shells << " shells";
        // Each of the two programs bound, then both targets switched off.
        EXPECT_EQ(Binds.size(), 2u) << shells << " shells";
        ExpectStateReset();
    }
}

TEST_F(FurModels, TheCatAlwaysPlaysOneOfItsTwoAnimations)
{
    ZRAnimation& cat = *Scene->Models->CatAnimation;
    ASSERT_TRUE(cat.IsPlaying());
    EXPECT_EQ(cat.AnimationIndex, 0);
    for (int round = 0; round < 20; ++round) {
        cat.Direction = ZRAnimation::kStopped;
        Scene->Models->Update();
        ASSERT_TRUE(cat.IsPlaying()) << "round " << round;
        EXPECT_TRUE(cat.AnimationIndex == 0 || cat.AnimationIndex == 1);
    }
}

TEST_F(FurModels, ButterfliesAreAsManyAsTheSettingsSayTheirModelLoadedEvenForNone)
{
    EXPECT_EQ(Scene->Models->Butterflies->LastIndex(), -1);
    EXPECT_TRUE(Scene->Models->Butterfly->IsLoaded());
    ZAGLSModels models(Scene);
    Scene->Params.ButterflyCount = 3;
    models.Initialize();
    ASSERT_EQ(models.Butterflies->LastIndex(), 2);
    for (int32_t i = 0; i <= 2; ++i) {
        const ZAButterfly* butterfly = static_cast<const ZAButterfly*>(models.Butterflies->Get(i));
        EXPECT_EQ(butterfly->GetName(), "Butterfly");
        EXPECT_EQ(butterfly->Model, models.Butterfly);
        EXPECT_TRUE(butterfly->Animation->IsPlaying() && butterfly->Animation->Loop);
    }
}
