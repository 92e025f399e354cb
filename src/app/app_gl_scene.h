// The garden scene: its parts (sky, ground, fur-covered models, interface
// overlay), the camera orbiting the cat, the time of day, the display
// switches, the chain of full-screen post-processing programs and the texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/app_constant.h"
#include "gl/gl_scene_generic.h"
#include "math/math_types.h"

class GLRenderToTexture;
class ZAGLSGround;
class ZAGLSInterface;
class ZAGLSModels;
class ZAGLSSky;
class ZRFont;
class ZRShader;
class ZRTexture;

// The settings the garden's parts read: how many butterflies and fur
// shells, and which parts of the ground are drawn.
struct TSceneParams {
    bool BlurredShadow = true;
    bool RenderShadow = true;
    int32_t ButterflyCount = 10;
    int32_t FurShells = 16;
    bool RenderLawn = true;
    bool RenderEnvironment = true;
};

// Where an unattended run starts.
struct TSceneStart {
    float TimeOfDay = 0.0f;
    bool HasCamera = false;
    // Degrees and units, clamped as the orbit is.
    float Yaw = 180.0f;
    float Pitch = -20.0f;
    float Distance = 2.0f;
    // A post-processing program applied from the start, or -1.
    int32_t Effect = -1;
};

class ZAGLScene : public GLScene {
public:
    explicit ZAGLScene(ZOTOwner* parent);
    ~ZAGLScene() override;

    void Initialize() override;
    void Render() override;
    void TakeScreenshot();
    void NextPPShader();
    void LastPPShader();
    // -1 selects none.
    void SelectPPShader(int32_t index);
    void Start(const TSceneStart& start);

    // The hh:mm the time of day stands for, -1 being midnight and 0 noon.
    static std::string ClockText(float timeOfDay);
    // Brings time back into -1..1 after a step across midnight.
    static float WrapTime(float timeOfDay);

    // Owned.
    GLRenderToTexture* RenderToTexture = nullptr;
    std::array<ZRShader*, kPostProcessingCount> PostPrograms{};
    ZRShader* CurrentPPShader = nullptr;
    int32_t PPShaderIndex = -1;
    // Owned; receives a copy of every frame.
    ZRTexture* ScreenTexture = nullptr;
    // Degrees: pitch, yaw, roll.
    Vector3 CameraRotation{-20.0f, 180.0f, 0.0f};
    Vector3 CameraPosition;
    float CameraDistance = 2.0f;
    float TimeOfDay = 0.0f;
    bool DisplayFur = true;
    bool DisplayBaseModel = true;
    bool ApplyPPShader = false;
    bool CameraLight = false;
    bool DisplayFPS = false;
    // Set before Initialize.
    TSceneParams Params;
    ZAGLSSky* Sky = nullptr;
    ZAGLSGround* Ground = nullptr;
    ZAGLSModels* Models = nullptr;
    ZAGLSInterface* Interface = nullptr;
    ZRFont* Font = nullptr;

private:
    void Interact();
    void ToggleSwitches();
    void ClampCamera();
    void PlaceCamera();
    void PostProcess();
    void DrawTexts();
    void DrawText(float y, const std::string& text) const;
};
