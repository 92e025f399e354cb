#include "app/app_gl_scene.h"

#include <algorithm>
#include <cmath>

#include "app/app_gl_ground.h"
#include "app/app_gl_interface.h"
#include "app/app_gl_models.h"
#include "app/app_gl_sky.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_2D.h"
#include "gl/gl_2D_font.h"
#include "gl/gl_2D_screen.h"
#include "gl/gl_camera.h"
#include "gl/gl_main.h"
#include "gl/gl_rendertotexture.h"
#include "gl/gl_screenshot.h"
#include "gl/gl_textureengine.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
#include "math/zot_math.h"
#include "resource/resource_shader.h"
#include "resource/resource_texture.h"

namespace {

constexpr const char* kGroup = "Interaction";
constexpr const char* kFontName = "LCD";
constexpr Vector3 kPivot{0.0f, 0.2f, 0.0f};
constexpr float kTimeDrift = 0.005f;
constexpr float kTimeRate = 0.2f;
constexpr float kDragYaw = 0.6f;
constexpr float kDragPitch = 0.3f;
constexpr float kTurnRate = 360.0f;
constexpr float kZoomStep = 0.5f;
constexpr float kLowestPitch = -90.0f;
constexpr float kHighestPitch = -2.0f;
constexpr float kNearest = 0.7f;
constexpr float kFarthest = 8.0f;
constexpr float kAnisotropy = 16.0f;
// Texts on the 640 x 480 overlay: right-aligned at x 600, in red, twice the font's size.
constexpr float kTextRight = 600.0f;
constexpr float kEffectNameY = 450.0f;
constexpr float kClockY = 430.0f;
constexpr float kFPSY = 410.0f;
constexpr Color3 kTextColor{1.0f, 0.0f, 0.0f};
constexpr float kTextScale = 2.0f;
constexpr int32_t kTiles = 4;
constexpr int32_t kEdge = 5;
constexpr int32_t kBlur = 6;
constexpr float kTileCount = 96.0f;

ZOTInput& Input() { return *CurrentInput; }
bool Held(const char* action) { return Input().IsDownIn(action, kGroup); }
bool Pressed(const char* action) { return Input().PressedIn(action, kGroup); }

}  // namespace

ZAGLScene::ZAGLScene(ZOTOwner* parent) : GLScene(parent, "ZOT App Scene", "ZAGLScene")
{
    Sky = new ZAGLSSky(this);
    Ground = new ZAGLSGround(this);
    Models = new ZAGLSModels(this);
    Interface = new ZAGLSInterface(this);
}

ZAGLScene::~ZAGLScene()
{
    DeleteAndClear(Sky);
    DeleteAndClear(Ground);
    DeleteAndClear(Models);
    DeleteAndClear(Interface);
    DeleteAndClear(RenderToTexture);
    for (ZRShader*& program : PostPrograms)
        DeleteAndClear(program);
    DeleteAndClear(ScreenTexture);
}

void ZAGLScene::Initialize()
{
    GLScene::Initialize();
    CurrentEngine->ShowCursor(false);
    CurrentGL->TextureEngine->SetAnisotropy(true, kAnisotropy);
    Sky->Init(true);
    Ground->Initialize();
    Models->Initialize();
    Interface->Initialize();
    CreateScreenTexture(this, ScreenTexture);
    RenderToTexture = new GLRenderToTexture(this);
    RenderToTexture->SetTexture(ScreenTexture);
    for (int32_t i = 0; i < kPostProcessingCount; ++i)
        PostPrograms[i] = new ZRShader(std::string(kPostProcessingFolder) + kPostProcessingPrograms[i], this);
    Font = CurrentGL->System2D->Fonts->LoadFont("textures\\fonts\\lcd", kFontName);
    PPShaderIndex = 0;
    SelectPPShader(PPShaderIndex);
}

void ZAGLScene::Start(const TSceneStart& start)
{
    TimeOfDay = WrapTime(start.TimeOfDay);
    if (start.HasCamera) {
        CameraRotation = {start.Pitch, start.Yaw, 0.0f};
        CameraDistance = start.Distance;
        ClampCamera();
    }
    if (start.Effect >= 0) {
        PPShaderIndex = start.Effect;
        SelectPPShader(PPShaderIndex);
        ApplyPPShader = true;
    }
}

// The ground's update is its shadow pass, which draws the models where
// they stand this frame.
void ZAGLScene::Render()
{
    Models->Update();
    {
        GLPassScope shadow(TFramePass::ShadowPass);
        Ground->Update();
    }
    Sky->Update();
    Interact();
    {
        GLPassScope sky(TFramePass::Sky);
        Sky->Render();
    }
    Ground->Draw();
    Models->Draw();
    {
        GLPassScope logo(TFramePass::Interface);
        Interface->Draw();
    }
    {
        GLPassScope post(TFramePass::Post);
        PostProcess();
    }
    GLPassScope texts(TFramePass::Interface);
    DrawTexts();
}

void ZAGLScene::Interact()
{
    const ZOTTimer& timer = *CurrentEngine->Timer;
    const float dt = timer.GetFrameTime();
    timer.AdvanceByScaled(TimeOfDay, kTimeDrift);
    if (Held("Click")) {
        CameraRotation.y -= Input().Mouse->DeltaX() * kDragYaw;
        CameraRotation.x -= Input().Mouse->DeltaY() * kDragPitch;
    }
    if (Held("Move Left"))
        CameraRotation.y -= kTurnRate * dt;
    if (Held("Move Right"))
        CameraRotation.y += kTurnRate * dt;
    if (Held("Zoom In"))
        CameraDistance -= kZoomStep;
    if (Held("Zoom Out"))
        CameraDistance += kZoomStep;
    if (Held("Time Increase"))
        TimeOfDay += kTimeRate * dt;
    if (Held("Time Decrease"))
        TimeOfDay -= kTimeRate * dt;
    ToggleSwitches();
    ClampCamera();
    TimeOfDay = WrapTime(TimeOfDay);
    PlaceCamera();
}

void ZAGLScene::ToggleSwitches()
{
    const auto toggle = [](const char* action, bool& flag) {
        if (Pressed(action))
            flag = !flag;
    };
    toggle("Display Fur", DisplayFur);
    toggle("Display Base Model", DisplayBaseModel);
    toggle("Apply PP Shader", ApplyPPShader);
    toggle("Camera Light", CameraLight);
    toggle("Display FPS", DisplayFPS);
    if (Pressed("Next PP Shader"))
        NextPPShader();
    if (Pressed("Last PP Shader"))
        LastPPShader();
}

void ZAGLScene::ClampCamera()
{
    ZOTMath& math = *CurrentEngine->Math;
    math.WrapAngle(CameraRotation.y);
    math.Clamp(CameraRotation.x, kLowestPitch, kHighestPitch);
    math.Clamp(CameraDistance, kNearest, kFarthest);
}

float ZAGLScene::WrapTime(float timeOfDay)
{
    if (timeOfDay > 1.0f)
        timeOfDay -= 2.0f;
    if (timeOfDay < -1.0f)
        timeOfDay += 2.0f;
    return timeOfDay;
}

void ZAGLScene::PlaceCamera()
{
    CameraPosition = kPivot;
    CurrentEngine->Math->MoveForward(CameraRotation, CameraPosition, -CameraDistance);
    CurrentGL->Camera->SetPositionRotation(CameraPosition, CameraRotation);
    CurrentGL->ResetView();
}

void ZAGLScene::NextPPShader()
{
    PPShaderIndex = (PPShaderIndex + 1) % kPostProcessingCount;
    SelectPPShader(PPShaderIndex);
}

void ZAGLScene::LastPPShader()
{
    PPShaderIndex = (PPShaderIndex + kPostProcessingCount - 1) % kPostProcessingCount;
    SelectPPShader(PPShaderIndex);
}

void ZAGLScene::SelectPPShader(int32_t index)
{
    CurrentPPShader = index >= 0 && index < kPostProcessingCount ? PostPrograms[index] : nullptr;
}

// The frame drawn so far is copied every frame, effect or not.
void ZAGLScene::PostProcess()
{
    RenderToTexture->CopyScreen(ScreenTexture);
    if (!CurrentPPShader || !ApplyPPShader)
        return;
    GL_2DSystem& overlay = *CurrentGL->System2D;
    overlay.Begin2D();
    CurrentPPShader->Bind();
    const float width = static_cast<float>(ScreenTexture->Width);
    const float height = static_cast<float>(ScreenTexture->Height);
    if (PPShaderIndex == kEdge)
        CurrentPPShader->SetFragmentLocal(0, {1.0f / width, 0.0f, 0.0f}, 0.0f);
    else if (PPShaderIndex == kTiles)
        CurrentPPShader->SetFragmentLocal(0, {kTileCount, 1.0f / kTileCount, 0.0f}, 0.0f);
    else if (PPShaderIndex == kBlur)
        CurrentPPShader->SetFragmentLocal(0, {1.0f / width, 1.0f / height, 0.0f}, 0.0f);
    overlay.Screen->DrawScreenTexture(ScreenTexture);
    CurrentPPShader->Unbind();
    DrawText(kEffectNameY, CurrentPPShader->GetName());
    overlay.End2D();
}

// Each text in a 2D pass of its own.
void ZAGLScene::DrawTexts()
{
    GL_2DSystem& overlay = *CurrentGL->System2D;
    if (Held("Time Increase") || Held("Time Decrease")) {
        std::string clock = ClockText(TimeOfDay);
        // The colon blinks twice a second.
        if (std::lround(2.0f * CurrentEngine->Timer->GetElapsedTime()) % 2 == 0)
            clock[2] = ' ';
        overlay.Begin2D();
        DrawText(kClockY, clock);
        overlay.End2D();
    }
    if (DisplayFPS) {
        overlay.Begin2D();
        DrawText(kFPSY, "FPS: " + std::to_string(CurrentEngine->Timer->GetFPS()));
        overlay.End2D();
    }
}

void ZAGLScene::DrawText(float y, const std::string& text) const
{
    CurrentGL->System2D->Fonts->DrawText(Font, GLFont::kAlignRight, kTextRight, y, kTextColor, 1.0f, kTextScale,
                                         text);
}

std::string ZAGLScene::ClockText(float timeOfDay)
{
    const float hours = (timeOfDay + 1.0f) * 12.0f;
    const int32_t whole = static_cast<int32_t>(hours);
    const int32_t minutes = static_cast<int32_t>((hours - static_cast<float>(whole)) * 60.0f);
    return ZOTTimer::FormatClock(whole, minutes, 0).substr(0, 5);
}

void ZAGLScene::TakeScreenshot()
{
    GLScreenShot shot(this);
    shot.Capture();
    shot.Save("screenshot", true);
}
