#include "resource/resource_shader.h"

#include <iterator>
#include <memory>
#include <string_view>

#include "core/file_file.h"
#include "core/zot_console.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_shaderengine.h"

namespace {

constexpr const char* kDefaultName = "RESOURCE SHADER";
constexpr const char* kErrorSource = "ZR_SHADER";
constexpr const char* kKindName = "Shader";
constexpr const char* kTextExtension = "txt";

// What differs between the two kinds; a kind is its index here.
struct TShaderKind {
    std::string_view Header;
    bool (GLShaderEngine::*Upload)(ZRShader&);
    void (GLShaderEngine::*Bind)(const ZRShader*);
    void (GLShaderEngine::*Disable)();
    const char* UploadedLine;
};

const TShaderKind kKinds[] = {
    {"!!ARBvp", &GLShaderEngine::UploadVertexProgram, &GLShaderEngine::BindVertexProgram,
     &GLShaderEngine::DisableVertexPrograms, "Vertex Shader created and uploaded to GL!"},
    {"!!ARBfp", &GLShaderEngine::UploadFragmentProgram, &GLShaderEngine::BindFragmentProgram,
     &GLShaderEngine::DisableFragmentPrograms, "Fragment Shader created and uploaded to GL!"},
};

constexpr int32_t kKindCount = static_cast<int32_t>(std::size(kKinds));
constexpr size_t kHeaderLength = 7;

const TShaderKind* KindAt(int32_t kind)
{
    return kind >= 0 && kind < kKindCount ? &kKinds[kind] : nullptr;
}

// The kind whose header the first line starts with, or -1; a text without
// lines has no header.
int32_t KindOfText(const ZTScript& text)
{
    if (text.Lines.empty())
        return -1;
    const std::string header = CutText(text.Lines.front(), kHeaderLength);
    for (int32_t kind = 0; kind < kKindCount; ++kind) {
        if (kKinds[kind].Header == header)
            return kind;
    }
    return -1;
}

GLShaderEngine* ShaderEngine() { return CurrentGL ? CurrentGL->ShaderEngine : nullptr; }


}  // namespace

ZRShader::ZRShader(const std::string& fileName, ZOTOwner* owner) : ZOTResource(owner, kDefaultName, "ZRShader")
{
    if (!fileName.empty())
        LoadFromFile(fileName);
    Reset();
}

ZRShader::~ZRShader()
{
    ZRShader::Unload();
    if (GLShaderEngine* engine = ShaderEngine())
        engine->ForgetShader(this);
}

void ZRShader::LoadFromFile(const std::string& fileName)
{
    Unload();
    NameAfterFile(fileName, kDefaultName, true);
    LogResource("Creating", kKindName);
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return;
    const std::string path = CurrentEngine->FileSystem->MakePath(fileName, kTextExtension);
    if (!CurrentEngine->FileSystem->Exists(path, true) || !ReadText(path))
        return;
    const int32_t kind = KindOfText(Text);
    if (kind < 0) {
        CurrentEngine->Error(kErrorSource, "Unknown shader format in file \"" + path + "\"!");
        return;
    }
    Kind = kind;
    Upload();
    Empty = false;
}

// An unreadable file is reported like any other failed load instead of
// unwinding through the caller, which expects only a report.
bool ZRShader::ReadText(const std::string& path)
{
    try {
        const std::unique_ptr<ZOTFile> file = CurrentEngine->FileSystem->OpenForReading(path, kFileText);
        while (!file->AtEnd())
            Text.Lines.push_back(file->ReadLine());
        Text.Last = static_cast<int32_t>(Text.Lines.size()) - 1;
        return true;
    } catch (const ZOTIOError& error) {
        Text = ZTScript{};
        CurrentEngine->Error(kErrorSource, error.what());
        return false;
    }
}

// Without the target's extension nothing is uploaded; the shader still loads,
// and binding it switches the target off so drawing goes on without it.
void ZRShader::Upload()
{
    GLShaderEngine* engine = ShaderEngine();
    const TShaderKind& kind = kKinds[Kind];
    if (engine && (engine->*kind.Upload)(*this))
        LogLine(kind.UploadedLine);
}

void ZRShader::Unload()
{
    if (IsLoaded() && Name != kDefaultName)
        LogResource("Deleting", kKindName);
    if (GLShaderEngine* engine = ShaderEngine())
        engine->DeleteProgram(*this);
    Text = ZTScript{};
    ZOTResource::Unload();
}

void ZRShader::Bind()
{
    GLShaderEngine* engine = ShaderEngine();
    const TShaderKind* kind = KindAt(Kind);
    if (IsLoaded() && engine && kind)
        (engine->*kind->Bind)(this);
}

void ZRShader::Unbind()
{
    GLShaderEngine* engine = ShaderEngine();
    const TShaderKind* kind = KindAt(Kind);
    if (engine && kind)
        (engine->*kind->Disable)();
}

void ZRShader::SetLocal(uint32_t index, const Vector3& v) { SetVertexLocal(index, v, 1.0f); }

void ZRShader::SetVertexLocal(uint32_t index, const Vector3& v, float w)
{
    if (GLShaderEngine* engine = ShaderEngine())
        engine->SetVertexLocal(index, v.x, v.y, v.z, w);
}

void ZRShader::SetFragmentLocal(uint32_t index, const Vector3& v, float w)
{
    if (GLShaderEngine* engine = ShaderEngine())
        engine->SetFragmentLocal(index, v.x, v.y, v.z, w);
}
