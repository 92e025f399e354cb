#include "gl/gl_main.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_2D.h"
#include "gl/gl_3D.h"
#include "gl/gl_camera.h"
#include "gl/gl_displaylistengine.h"
#include "gl/gl_frustum.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_modelengine.h"
#include "gl/gl_scene_main.h"
#include "gl/gl_shaderengine.h"
#include "gl/gl_textureengine.h"
#include "platform/platform_gl.h"
#include "platform/platform_window.h"
#include "resource/resource_material.h"

ZOTGL* CurrentGL = nullptr;

namespace {

constexpr int32_t kFallbackRefreshRate = 60;
constexpr int kFatalContextCode = 1;
// A lost context can answer every glGetError with an error; the drain must end anyway.
constexpr int kMaxDrainedErrors = 64;

// Where each mode keeps its switch in Modes, -1 for modes whose switch lives in a sub-system.
constexpr int32_t kModeSlots[] = {0, 1, -1, -1, -1, 2, 3, 4, 5, 6, 7, 8, -1, 9};

enum class BlendColour { Plain, Inverted, Scaled };

struct BlendRule {
    GLenum Source;
    GLenum Destination;
    BlendColour Colour;
};

constexpr BlendRule kBlendRules[] = {
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, BlendColour::Plain},
    {GL_SRC_ALPHA, GL_ONE, BlendColour::Plain},
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, BlendColour::Plain},
    {GL_ZERO, GL_ONE_MINUS_SRC_COLOR, BlendColour::Inverted},
    {GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA, BlendColour::Plain},
    {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, BlendColour::Plain},
    {GL_ZERO, GL_SRC_COLOR, BlendColour::Scaled},
};

constexpr int32_t kBlendModes = static_cast<int32_t>(sizeof(kBlendRules) / sizeof(kBlendRules[0]));


// The window system's own words follow the message, so the log says why.
[[noreturn]] void FatalContextError(std::string_view text, const std::string& detail)
{
    CurrentEngine->FatalError(kFatalContextCode, detail.empty() ? std::string(text) : std::string(text) + " " + detail);
}

// The platform reports in one call what the window system reports step by
// step; the log lines fall where those steps would have succeeded.
void ReportContextCreation(const platform::GLContextResult& made)
{
    using platform::ContextError;
    if (made.Error == ContextError::NoDeviceContext)
        FatalContextError("Can't create device context.", made.Detail);
    if (made.Error == ContextError::NoPixelFormat)
        FatalContextError("Can't find a suitable PixelFormat.", made.Detail);
    if (made.Error == ContextError::PixelFormatRefused)
        FatalContextError("Can't set PixelFormat.", made.Detail);
    LogLine("ZOT GL: Device Context created!");
    if (made.Error == ContextError::NoRenderingContext)
        FatalContextError("Can't create a GL rendering context.", made.Detail);
    if (made.Error == ContextError::NotCurrent)
        FatalContextError("Can't activate the GL rendering context.", made.Detail);
    LogLine("ZOT GL: Rendering Context created!");
}

struct GLErrorEntry {
    GLenum Code;
    const char* Name;
};

constexpr GLErrorEntry kGLErrors[] = {
    {GL_INVALID_ENUM, "GL_INVALID_ENUM"},
    {GL_INVALID_VALUE, "GL_INVALID_VALUE"},
    {GL_INVALID_OPERATION, "GL_INVALID_OPERATION"},
    {GL_STACK_OVERFLOW, "GL_STACK_OVERFLOW"},
    {GL_STACK_UNDERFLOW, "GL_STACK_UNDERFLOW"},
    {GL_OUT_OF_MEMORY, "GL_OUT_OF_MEMORY"},
    {GL_INVALID_FRAMEBUFFER_OPERATION, "GL_INVALID_FRAMEBUFFER_OPERATION"},
    {GL_TABLE_TOO_LARGE, "GL_TABLE_TOO_LARGE"},
};

std::string GLErrorName(GLenum error)
{
    for (const GLErrorEntry& entry : kGLErrors) {
        if (entry.Code == error)
            return entry.Name;
    }
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "GL error 0x%04X", static_cast<unsigned>(error));
    return unknown;
}

void SetBlendColour(BlendColour kind, const Color3& c, double alpha)
{
    if (kind == BlendColour::Inverted)
        glColor4d((1.0 - c.r) * alpha, (1.0 - c.g) * alpha, (1.0 - c.b) * alpha, alpha);
    else if (kind == BlendColour::Scaled)
        glColor4d(c.r * alpha, c.g * alpha, c.b * alpha, alpha);
    else
        glColor4d(c.r, c.g, c.b, alpha);
}

}  // namespace

ZOTGL::ZOTGL(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Main", "ZOTGL")
{
    CurrentGL = this;
    CreateSubSystems();
}

ZOTGL::~ZOTGL()
{
    LogLine(kSeparatorLine);
    LogLine("ZOT GL: Shut down...");
    DeleteAllContexts();
    DestroySubSystems();
    LogLine(kSeparatorLine);
    LogLine(kEmptyLine);
    if (CurrentGL == this)
        CurrentGL = nullptr;
}

void ZOTGL::CreateSubSystems()
{
    Camera = new GLCamera(this);
    ModelEngine = new GLModelEngine(this);
    LightingEngine = new GLLightingEngine(this);
    TextureEngine = new GLTextureEngine(this);
    MaterialEngine = new GLMaterialEngine(this);
    DisplayListEngine = new GLDisplayListEngine(this);
    ShaderEngine = new GLShaderEngine(this);
    System2D = new GL_2DSystem(this);
    System3D = new GL_3DSystem(this);
    SceneEngine = new GLSceneEngine(this);
}

void ZOTGL::DestroySubSystems()
{
    DeleteAndClear(Camera);
    DeleteAndClear(ModelEngine);
    DeleteAndClear(LightingEngine);
    DeleteAndClear(TextureEngine);
    DeleteAndClear(MaterialEngine);
    DeleteAndClear(DisplayListEngine);
    DeleteAndClear(ShaderEngine);
    DeleteAndClear(System2D);
    DeleteAndClear(System3D);
    DeleteAndClear(SceneEngine);
}

void ZOTGL::Initialize(platform::Window* window, std::string_view name, int32_t x, int32_t y, int32_t width,
                       int32_t height, int32_t bitsPerPixel, int32_t refreshRate, bool fullScreen)
{
    LogLine(kSeparatorLine);
    LogLine("Initializing Module: ZOT GL");
    LogLine(kEmptyLine);
    LogLine("ZOT GL: Initializing...");
    Settings = DisplaySettings{x, y, width, height, bitsPerPixel, refreshRate, fullScreen};
    Window = window;
    void* handle = TakeWindowHandle(fullScreen);
    if (!handle)
        Error("Could not find device handle!");
    CreateContext(handle, "PRIMARY");
    SelectContext(0);
    ApplyDisplaySettings();
    SetDefaultState();
    InitSubSystems();
    Contexts[0].Name = CutText(name, kNameLength);
}

void* ZOTGL::TakeWindowHandle(bool fullScreen) const
{
    if (!Window)
        return nullptr;
    if (fullScreen)
        Window->SetBorderless(true);
    return Window->Handle();
}

void ZOTGL::SetDefaultState()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glLoadIdentity();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    SetViewport(Settings.X, Settings.Y, Settings.Width, Settings.Height);
}

void ZOTGL::InitSubSystems()
{
    LogLine(kEmptyLine);
    LogLine("ZOT GL: Initializing sub systems...");
    Camera->Init();
    ModelEngine->Init();
    LightingEngine->Init();
    TextureEngine->Init();
    MaterialEngine->Initialize();
    DisplayListEngine->Init();
    ShaderEngine->Initialize();
    System2D->Init();
    System3D->Init();
    SceneEngine->Init();
    LogLine(kSeparatorLine);
    LogLine(kEmptyLine);
    OnSubSystemsReady();
}

int32_t ZOTGL::CreateContext(void* windowHandle, std::string_view name)
{
    if (LastContext >= kContextSlots - 1) {
        Error("No free rendering context slot!");
        return -1;
    }
    const int32_t index = ++LastContext;
    RenderingContext& slot = Contexts[index];
    slot.InUse = true;
    slot.Name = CutText(name, kNameLength);
    // The window system shares lists only at creation, with the context then current.
    const bool sharing = index > 0 && MakePrimaryCurrent();
    const platform::GLContextResult made = platform::CreateGLContext(windowHandle, Settings.BitsPerPixel, sharing);
    ReportContextCreation(made);
    slot.DC = windowHandle;
    slot.RC = made.Context;
    slot.Settings = Settings;
    slot.SharesLists = index == 0 || sharing;
    if (index > 0 && !ShareLists(0, index))
        Error("Could not share GL lists!");
    return index;
}

bool ZOTGL::MakePrimaryCurrent() const
{
    const RenderingContext& primary = Contexts[0];
    return primary.InUse && platform::MakeCurrent(primary.DC, primary.RC);
}

bool ZOTGL::IsSlot(int32_t index) const { return index >= 0 && index < kContextSlots; }

bool ZOTGL::SharesWithPrimary(int32_t index) const
{
    return IsSlot(index) && Contexts[0].InUse && Contexts[index].InUse && Contexts[index].SharesLists;
}

bool ZOTGL::ShareLists(int32_t sourceIndex, int32_t targetIndex) const
{
    return SharesWithPrimary(sourceIndex) && SharesWithPrimary(targetIndex);
}

bool ZOTGL::ShareListsWith(void* rc) const
{
    if (!rc)
        return false;
    for (int32_t i = 0; i < kContextSlots; ++i) {
        if (Contexts[i].InUse && Contexts[i].RC == rc)
            return SharesWithPrimary(i);
    }
    return Contexts[0].InUse;
}

void ZOTGL::SelectContext(int32_t index)
{
    if (!IsSlot(index) || !Contexts[index].InUse) {
        Error("Selected Rendering Context does not exist!");
        return;
    }
    CurrentContext = index;
    DC = Contexts[index].DC;
    RC = Contexts[index].RC;
    Settings = Contexts[index].Settings;
    platform::MakeCurrent(DC, RC);
    SetViewport(Settings.X, Settings.Y, Settings.Width, Settings.Height);
    TextureEngine->ResetBound();
}

void ZOTGL::DeleteContext(int32_t index)
{
    if (!IsSlot(index) || !Contexts[index].InUse)
        return;
    RenderingContext& slot = Contexts[index];
    // Releasing works per window: doing it for another slot on the same window
    // would take the selected context away as well.
    if (RC == slot.RC) {
        platform::ReleaseCurrent(slot.DC);
        RC = nullptr;
        DC = nullptr;
    }
    platform::DeleteGLContext(slot.RC);
    slot.InUse = false;
    slot.RC = nullptr;
    slot.DC = nullptr;
}

void ZOTGL::DeleteAllContexts()
{
    for (int32_t i = 0; i < kContextSlots; ++i)
        DeleteContext(i);
}

RenderingContext ZOTGL::GetContextInfo() const { return Contexts[CurrentContext]; }

void ZOTGL::SetDisplaySettings(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t refreshRate,
                               bool fullScreen)
{
    Settings.Width = width;
    Settings.Height = height;
    Settings.BitsPerPixel = bitsPerPixel;
    Settings.RefreshRate = refreshRate;
    Settings.FullScreen = fullScreen;
    if (!fullScreen)
        return;
    PrepareFullScreenWindow(width, height);
    if (!ChangeDisplayMode(width, height, bitsPerPixel, refreshRate)) {
        if (refreshRate != kFallbackRefreshRate) {
            SetDisplaySettings(width, height, bitsPerPixel, kFallbackRefreshRate, fullScreen);
            return;
        }
        Error("Could not set display settings!");
    }
    SetViewport(Settings.X, Settings.Y, width, height);
}

void ZOTGL::PrepareFullScreenWindow(int32_t width, int32_t height)
{
    if (!Window)
        return;
    Window->SetBorderless(true);
    Window->SetClientSize(width, height);
    Window->SetPosition(0, 0);
}

bool ZOTGL::ChangeDisplayMode(int width, int height, int bpp, int hz)
{
    void* handle = Window ? Window->Handle() : DC;
    return platform::ChangeDisplayMode(handle, width, height, bpp, hz);
}

void ZOTGL::ApplyDisplaySettings()
{
    SetDisplaySettings(Settings.Width, Settings.Height, Settings.BitsPerPixel, Settings.RefreshRate,
                       Settings.FullScreen);
}

void ZOTGL::SetViewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    Settings.X = x;
    Settings.Y = y;
    Settings.Width = width;
    Settings.Height = height;
    Contexts[CurrentContext].Settings = Settings;
    glViewport(x, y, width, height);
    Camera->UpdateProjection();
    System2D->UpdateAspect();
}

void ZOTGL::RenderFrame()
{
    CurrentEngine->Timer->StopwatchStart(FrameStart);
    TextureEngine->ResetBound();
    TextureEngine->DisableAll();
    ResetView();
    SceneEngine->Render();
    {
        GLPassScope overlay(TFramePass::Interface);
        System2D->Render();
    }
    LightingEngine->ClearDynamicLights();
    glFlush();
    if (BeforePresent)
        BeforePresent();
    {
        GLPassScope swap(TFramePass::Swap);
        SwapFrame();
    }
    Passes.EndFrame();
    ClearBuffers();
    FrameTime = CurrentEngine->Timer->StopwatchSeconds(FrameStart);
}

void ZOTGL::SwapFrame()
{
    TrianglesLastFrame = TrianglesThisFrame;
    TrianglesThisFrame = 0;
    SkinsLastFrame = SkinsThisFrame;
    SkinsThisFrame = 0;
    platform::SwapBuffers(DC);
    CheckError();
}

void ZOTGL::ClearBuffers()
{
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ZOTGL::SetClearColor(const Color3& colour) { glClearColor(colour.r, colour.g, colour.b, 1.0f); }

void ZOTGL::AddTriangles(uint32_t count) { TrianglesThisFrame += count; }

void ZOTGL::ResetView()
{
    glLoadIdentity();
    Camera->Apply();
}

void ZOTGL::SetCapability(uint32_t capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

void ZOTGL::EnableDepthTest(bool on) { SetCapability(GL_DEPTH_TEST, on); }

void ZOTGL::EnableBlending(bool on) { SetCapability(GL_BLEND, on && ModeOn(kModeBlending)); }

void ZOTGL::EnableFog(bool on) { SetCapability(GL_FOG, on && ModeOn(kModeFog)); }

void ZOTGL::EnableTexturing(bool on)
{
    if (on && TextureEngine->Enabled)
        glEnable(GL_TEXTURE_2D);
    else
        TextureEngine->DisableAll();
}

void ZOTGL::EnableCulling(bool on) { SetCapability(GL_CULL_FACE, on); }

void ZOTGL::EnableLighting(bool on) { SetCapability(GL_LIGHTING, on && LightingEngine->Enabled); }

void ZOTGL::EnableColorMaterial(bool on) { SetCapability(GL_COLOR_MATERIAL, on && MaterialEngine->MaterialsOn); }

void ZOTGL::SetFlatShading(bool flat) { glShadeModel(!flat && ModeOn(kModeSmoothShading) ? GL_SMOOTH : GL_FLAT); }

void ZOTGL::EnableAntialiasing(bool on) { SetSmoothing(on && ModeOn(kModeAntialiasing)); }

void ZOTGL::EnableAlphaTest(bool on) { SetCapability(GL_ALPHA_TEST, on && ModeOn(kModeAlphaTest)); }

void ZOTGL::SetSmoothing(bool on)
{
    SetCapability(GL_POINT_SMOOTH, on);
    SetCapability(GL_LINE_SMOOTH, on);
}

void ZOTGL::SetBlendMode(int32_t mode, const Color3& colour, float alpha)
{
    if (mode < 0 || mode >= kBlendModes)
        return;
    const BlendRule& rule = kBlendRules[mode];
    glBlendFunc(rule.Source, rule.Destination);
    SetBlendColour(rule.Colour, colour, alpha);
}

void ZOTGL::SetColor(const Color3& colour, float alpha) { glColor4f(colour.r, colour.g, colour.b, alpha); }

void ZOTGL::Translate(const Vector3& v) { glTranslatef(v.x, v.y, v.z); }

void ZOTGL::Rotate(const Vector3& v)
{
    glRotated(v.y, 0.0, 1.0, 0.0);
    glRotated(-v.x, 1.0, 0.0, 0.0);
    glRotated(-v.z, 0.0, 0.0, 1.0);
}

void ZOTGL::ScaleUniform(float s) { glScalef(s, s, s); }

void ZOTGL::Scale(const Vector3& v) { glScalef(v.x, v.y, v.z); }

bool ZOTGL::CheckError()
{
    std::string names;
    for (int drained = 0; drained < kMaxDrainedErrors; ++drained) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            break;
        const std::string name = GLErrorName(error);
        if (names.find(name) == std::string::npos)
            names += (names.empty() ? "" : ", ") + name;
    }
    if (names.empty())
        return false;
    Error("GL Error occurred! " + names);
    return true;
}

void ZOTGL::Error(std::string_view text) { ReportError("ZOT_GL", text); }

bool ZOTGL::ExtensionAvailable(std::string_view name) { return CurrentGL && CurrentGL->IsExtensionSupported(name); }

void ZOTGL::LogExtension(std::string_view name)
{
    LogLine("ZOT GL: Extension \"" + std::string(name) + "\" initialized!");
}

void* ZOTGL::EntryPoint(const char* name) { return platform::GetProcAddress(name); }

bool ZOTGL::IsExtensionSupported(std::string_view name) const
{
    const auto* glList = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    std::string list = " " + std::string(glList ? glList : "");
    const std::string systemList = platform::WindowSystemExtensions(DC);
    if (!systemList.empty())
        list += " " + systemList + " ";
    return list.find(name) != std::string::npos;
}

uint8_t ZOTGL::ModeSwitch(int32_t mode) const
{
    if (mode < 0 || mode > kModeShaders || kModeSlots[mode] < 0)
        return 0;
    return Modes[kModeSlots[mode]];
}

bool ZOTGL::ModeOn(int32_t mode) const { return ModeSwitch(mode) != 0; }

void ZOTGL::SetMode(int32_t mode, int32_t value)
{
    if (mode < 0 || mode > kModeShaders) {
        Error("Undefined ZOT GL Mode!");
        return;
    }
    if (kModeSlots[mode] >= 0)
        Modes[kModeSlots[mode]] = static_cast<uint8_t>(value);
    if (mode == kModeDepthWrite)
        SetDepthWrite(value > 0);
    else if (value == 0 || value == 1)
        ApplyMode(mode, value == 1);
}

void ZOTGL::ApplyMode(int32_t mode, bool on)
{
    switch (mode) {
    case kModeBlending:
        if (!on)
            glDisable(GL_BLEND);
        break;
    case kModeFog:
        if (!on)
            glDisable(GL_FOG);
        break;
    case kModeLighting:
        on ? LightingEngine->Enable() : LightingEngine->Disable();
        break;
    case kModeTexturing:
        on ? TextureEngine->Enable() : TextureEngine->Disable();
        break;
    case kModeMaterials:
        on ? MaterialEngine->EnableMaterials() : MaterialEngine->DisableMaterials();
        break;
    case kModeWireframe:
        SetWireframe(on);
        break;
    case kModeSmoothShading:
        SetSmoothShading(on);
        break;
    case kModeNormalize:
        SetCapability(GL_NORMALIZE, on);
        break;
    case kModeAntialiasing:
        SetSmoothing(on);
        break;
    case kModePolygonOffset:
        SetPolygonOffset(on);
        break;
    case kModeFrustumCulling:
        on ? Camera->Frustum->Enable() : Camera->Frustum->Disable();
        break;
    case kModeShaders:
        on ? ShaderEngine->Enable() : ShaderEngine->Disable();
        break;
    default:
        break;
    }
}

void ZOTGL::SetDepthWrite(bool on)
{
    glDepthMask(on ? GL_TRUE : GL_FALSE);
    if (TMaterial* defaults = MaterialDefaults())
        defaults->DepthWrite = on;
}

void ZOTGL::SetWireframe(bool on)
{
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
    if (TMaterial* defaults = MaterialDefaults())
        defaults->GeometryType = on ? kGeometryWireframe : kGeometryFilled;
}

void ZOTGL::SetSmoothShading(bool on)
{
    glShadeModel(on ? GL_SMOOTH : GL_FLAT);
    if (TMaterial* defaults = MaterialDefaults())
        defaults->FlatShade = !on;
}

TMaterial* ZOTGL::MaterialDefaults() const
{
    return MaterialEngine->BaseMaterial ? &MaterialEngine->BaseMaterial->Material : nullptr;
}

void ZOTGL::SetPolygonOffset(bool on)
{
    SetCapability(GL_POLYGON_OFFSET_FILL, on);
    if (on)
        glPolygonOffset(-1.0f, -1.0f);
}
