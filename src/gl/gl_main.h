// The GL module: the rendering contexts on the main window, the display mode,
// the default GL state, the ten GL sub-systems and the per-frame routine. It
// also keeps the GL mode switches and the small helpers every drawing part uses.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/zot_object.h"
#include "gl/gl_passclock.h"
#include "math/math_types.h"

namespace platform {
class Window;
}

class GLCamera;
class GLModelEngine;
class GLLightingEngine;
class GLTextureEngine;
class GLMaterialEngine;
class GLDisplayListEngine;
class GLShaderEngine;
class GL_2DSystem;
class GL_3DSystem;
class GLSceneEngine;
struct TMaterial;

struct DisplaySettings {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 640;
    int32_t Height = 480;
    int32_t BitsPerPixel = 32;
    int32_t RefreshRate = 60;
    bool FullScreen = false;
};

struct RenderingContext {
    bool InUse = false;
    void* RC = nullptr;
    // The window the context draws to.
    void* DC = nullptr;
    std::string Name;
    // Restored when the slot is selected.
    DisplaySettings Settings;
    // Contexts share display lists and textures only when created so; this
    // remembers whether the slot shares them with slot 0.
    bool SharesLists = false;
};

class ZOTGL : public ZOTObject {
public:
    static constexpr int32_t kContextSlots = 8;
    static constexpr int32_t kStoredModes = 10;

    // The switches SetMode takes.
    enum Mode : int32_t {
        kModeBlending = 0,
        kModeFog = 1,
        kModeLighting = 2,
        kModeTexturing = 3,
        kModeMaterials = 4,
        kModeDepthWrite = 5,
        kModeWireframe = 6,
        kModeSmoothShading = 7,
        kModeNormalize = 8,
        kModeAntialiasing = 9,
        kModePolygonOffset = 10,
        kModeAlphaTest = 11,
        kModeFrustumCulling = 12,
        kModeShaders = 13,
    };

    // The blend modes shared by materials, rendering steps, the 2D system and the sky box.
    enum BlendMode : int32_t {
        kBlendOpaque = 0,
        kBlendAdditive = 1,
        kBlendAverage = 2,
        kBlendNegative = 3,
        kBlendSaturate = 4,
        kBlendMultiply = 5,
        kBlendColorScaled = 6,
    };

    explicit ZOTGL(ZOTOwner* parent);
    ~ZOTGL() override;

    void Initialize(platform::Window* window, std::string_view name, int32_t x, int32_t y, int32_t width,
                    int32_t height, int32_t bitsPerPixel, int32_t refreshRate, bool fullScreen);
    void InitSubSystems();

    // The new slot's index, or -1 when every slot has been used.
    int32_t CreateContext(void* windowHandle, std::string_view name);
    void SelectContext(int32_t index);
    void DeleteContext(int32_t index);
    void DeleteAllContexts();
    // Whether the two slots share display lists and textures.
    bool ShareLists(int32_t sourceIndex, int32_t targetIndex) const;
    // Whether rc shares display lists and textures with slot 0. A context made
    // outside the slots can only have been shared at its creation, which cannot
    // be checked afterwards: it counts as shared whenever slot 0 exists.
    bool ShareListsWith(void* rc) const;
    RenderingContext GetContextInfo() const;

    void SetDisplaySettings(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t refreshRate,
                            bool fullScreen);
    void ApplyDisplaySettings();
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);

    void RenderFrame();
    void SwapFrame();
    void ClearBuffers();
    void SetClearColor(const Color3& colour);
    void AddTriangles(uint32_t count);
    void ResetView();

    // Capabilities whose GL mode is a permission stay off while the mode is off.
    void EnableDepthTest(bool on);
    void EnableBlending(bool on);
    void EnableFog(bool on);
    void EnableTexturing(bool on);
    void EnableCulling(bool on);
    void EnableLighting(bool on);
    void EnableColorMaterial(bool on);
    void SetFlatShading(bool flat);
    void EnableAntialiasing(bool on);
    void EnableAlphaTest(bool on);

    // Modes kBlendOpaque to kBlendColorScaled; any other changes nothing.
    void SetBlendMode(int32_t mode, const Color3& colour, float alpha);
    void SetColor(const Color3& colour, float alpha);
    void Translate(const Vector3& v);
    // Degrees: y first, then -x, then -z.
    void Rotate(const Vector3& v);
    void ScaleUniform(float s);
    void Scale(const Vector3& v);

    // Drains every queued GL error and reports them once, by name.
    bool CheckError();
    static void Error(std::string_view text);
    // A plain substring search over the GL and window-system extension lists.
    bool IsExtensionSupported(std::string_view name) const;
    // The same search on the GL module of this process; false before it exists.
    static bool ExtensionAvailable(std::string_view name);
    static void LogExtension(std::string_view name);
    // A driver entry point by name, null when the driver has none.
    template <typename Proc>
    static void FetchEntryPoint(Proc& target, const char* name)
    {
        target = reinterpret_cast<Proc>(EntryPoint(name));
    }
    static void* EntryPoint(const char* name);
    // Modes kModeBlending to kModeShaders; value 0 is off and 1 on.
    void SetMode(int32_t mode, int32_t value);
    // The stored switch of a mode, 0 for modes that keep theirs in a sub-system.
    uint8_t ModeSwitch(int32_t mode) const;

    // Runs once the frame is complete and before it is presented, while the
    // back buffer holds it, in the frame it is set for.
    std::function<void()> BeforePresent;

    DisplaySettings Settings;
    uint32_t TrianglesLastFrame = 0;
    uint32_t TrianglesThisFrame = 0;
    // Models posed and skinned: the costliest work of a frame on the processor.
    uint32_t SkinsLastFrame = 0;
    uint32_t SkinsThisFrame = 0;
    int64_t FrameStart = 0;
    double FrameTime = 0.0;
    // Off unless the benchmark runs.
    GLPassClock Passes;
    platform::Window* Window = nullptr;
    // The switches of modes 0, 1, 5 to 11 and 13, in that order.
    uint8_t Modes[kStoredModes] = {1, 1, 1, 0, 1, 0, 1, 1, 1, 1};
    RenderingContext Contexts[kContextSlots];
    int32_t LastContext = -1;
    int32_t CurrentContext = 0;

    GLCamera* Camera = nullptr;
    GLModelEngine* ModelEngine = nullptr;
    GLLightingEngine* LightingEngine = nullptr;
    GLTextureEngine* TextureEngine = nullptr;
    GLMaterialEngine* MaterialEngine = nullptr;
    GLDisplayListEngine* DisplayListEngine = nullptr;
    GLShaderEngine* ShaderEngine = nullptr;
    GL_2DSystem* System2D = nullptr;
    GL_3DSystem* System3D = nullptr;
    GLSceneEngine* SceneEngine = nullptr;

    void* RC = nullptr;
    void* DC = nullptr;

protected:
    // Runs once every sub-system has started.
    virtual void OnSubSystemsReady() {}
    // Switches the display to full screen; false when the display refuses the mode.
    virtual bool ChangeDisplayMode(int width, int height, int bpp, int hz);

private:
    void CreateSubSystems();
    void DestroySubSystems();
    void* TakeWindowHandle(bool fullScreen) const;
    void SetDefaultState();
    bool MakePrimaryCurrent() const;
    bool SharesWithPrimary(int32_t index) const;
    bool IsSlot(int32_t index) const;
    void PrepareFullScreenWindow(int32_t width, int32_t height);
    bool ModeOn(int32_t mode) const;
    void ApplyMode(int32_t mode, bool on);
    void SetDepthWrite(bool on);
    void SetWireframe(bool on);
    void SetSmoothShading(bool on);
    // The material engine's base material, once the engine has started.
    TMaterial* MaterialDefaults() const;
    void SetSmoothing(bool on);
    void SetPolygonOffset(bool on);
    void SetCapability(uint32_t capability, bool on);
};

// The GL module of this process, or none before it is built and after it is gone.
extern ZOTGL* CurrentGL;
