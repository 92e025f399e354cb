// tamsel-inspect: loads one asset through the engine, as the program would,
// and prints what it holds as one JSON line, so asset authors can check their
// files without starting the demo. Errors of the engine go to standard error.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "core/json_object.h"
#include "core/zot_console.h"
#include "hidden_gl.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "platform/platform_bitmap.h"
#include "platform/platform_checksum.h"
#include "resource/resource_font.h"
#include "resource/resource_image.h"
#include "resource/resource_material.h"
#include "resource/resource_model.h"
#include "resource/resource_shader.h"
#include "resource/resource_texture.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kErrorPrefix = "  ERROR: ";

// The words after the command, as many as it takes.
using Arguments = std::vector<std::string>;

std::string Hex8(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// The bitmap's pixels as the engine sees them: rows top first, without padding.
uint32_t BitmapCrc(const platform::Bitmap24& bitmap)
{
    uint32_t crc = 0;
    const size_t rowBytes = static_cast<size_t>(bitmap.Width()) * 3;
    for (int row = 0; row < bitmap.Height(); ++row)
        crc = platform::Crc32(bitmap.Row(row), rowBytes, crc);
    return crc;
}

void CopyErrorLine(void* /*object*/, const std::string& text)
{
    if (std::string_view(text).substr(0, kErrorPrefix.size()) == kErrorPrefix)
        std::cerr << text << std::endl;
}

int InspectImage(const Arguments& arguments)
{
    const std::string& name = arguments.front();
    const auto image = std::make_unique<ZRImage>(name, nullptr);
    if (!image->IsLoaded())
        return kExitFailure;
    JsonObject json;
    json.AddText("name", image->GetName());
    if (image->Bitmap) {
        json.AddText("store", "bitmap");
        json.AddNumber("width", image->Width);
        json.AddNumber("height", image->Height);
        json.AddNumber("format", 0);
        json.AddNumber("bits_per_pixel", image->BitsPerPixel);
        json.AddText("crc32", Hex8(BitmapCrc(*image->Bitmap)));
    } else {
        json.AddText("store", "data");
        json.AddNumber("width", image->Data.Width);
        json.AddNumber("height", image->Data.Height);
        json.AddNumber("format", image->Data.Format);
        json.AddNumber("bits_per_pixel", image->BitsPerPixel);
        json.AddText("crc32", Hex8(platform::Crc32(image->Data.Pixels.data(), image->Data.Pixels.size())));
    }
    std::cout << json.Text() << std::endl;
    return kExitSuccess;
}

// The items as a JSON list, each turned into JSON text by convert.
template <typename List, typename Convert>
std::string JsonList(const List& items, Convert convert)
{
    std::string list;
    for (const auto& item : items)
        list += (list.empty() ? "" : ",") + convert(item);
    return "[" + list + "]";
}

// JSON has no infinities and no NaN; such values print as null.
std::string JsonValue(float value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    const std::to_chars_result end = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, end.ptr);
}

std::string JsonValue(bool value) { return value ? "true" : "false"; }
std::string JsonValue(int32_t value) { return std::to_string(value); }
std::string JsonValue(uint8_t value) { return std::to_string(value); }

std::string JsonValue(const Color3& color)
{
    return "[" + JsonValue(color.r) + "," + JsonValue(color.g) + "," + JsonValue(color.b) + "]";
}

std::string JsonValue(const Vector3& vector)
{
    return "[" + JsonValue(vector.x) + "," + JsonValue(vector.y) + "," + JsonValue(vector.z) + "]";
}

std::string JsonValue(const ZRTexture* texture)
{
    return texture ? JsonObject::Quoted(texture->Settings.FileName) : "null";
}

template <typename T, std::size_t N>
std::string JsonValue(const std::array<T, N>& values)
{
    return JsonList(values, [](const T& value) { return JsonValue(value); });
}

// One field of a material record, printed under its own name.
template <typename Record>
struct Field {
    std::string_view Name;
    std::variant<bool Record::*, int32_t Record::*, uint8_t Record::*, float Record::*, Color3 Record::*,
                 ZRTexture* Record::*, TMPredefinedSteps Record::*>
        Member;
};

#define ZOT_INSPECT_ROW(Record, Type, Name, Default) {#Name, &Record::Name},
#define ZOT_MATERIAL_ROW(Type, Name, Default) ZOT_INSPECT_ROW(TMaterial, Type, Name, Default)
#define ZOT_LAYER_ROW(Type, Name, Default) ZOT_INSPECT_ROW(TMTextureLayer, Type, Name, Default)
#define ZOT_STEP_ROW(Type, Name, Default) ZOT_INSPECT_ROW(TMRenderStep, Type, Name, Default)
const Field<TMaterial> kMaterialFields[] = {ZOT_MATERIAL_FIELDS(ZOT_MATERIAL_ROW)};
const Field<TMTextureLayer> kLayerFields[] = {ZOT_MATERIAL_LAYER_FIELDS(ZOT_LAYER_ROW)};
const Field<TMRenderStep> kStepFields[] = {ZOT_MATERIAL_STEP_FIELDS(ZOT_STEP_ROW)};
#undef ZOT_STEP_ROW
#undef ZOT_LAYER_ROW
#undef ZOT_MATERIAL_ROW
#undef ZOT_INSPECT_ROW

template <typename Record, std::size_t N>
void AddFields(JsonObject& json, const Record& record, const Field<Record> (&fields)[N])
{
    for (const Field<Record>& field : fields)
        std::visit([&](auto member) { json.AddRaw(field.Name, JsonValue(record.*member)); }, field.Member);
}

template <typename Record, std::size_t N>
std::string RecordList(const std::vector<Record>& records, const Field<Record> (&fields)[N])
{
    return JsonList(records, [&fields](const Record& record) {
        JsonObject json;
        AddFields(json, record, fields);
        return json.Text();
    });
}

int InspectMaterial(const Arguments& arguments)
{
    const std::string& name = arguments.front();
    const auto material = std::make_unique<ZRMaterial>(nullptr);
    material->LoadFromFile(name);
    if (!material->IsLoaded())
        return kExitFailure;
    const TMaterial& record = material->Material;
    JsonObject json;
    json.AddText("name", material->GetName());
    AddFields(json, record, kMaterialFields);
    json.AddRaw("LayerTexture", JsonValue(record.Textures.LayerTexture));
    json.AddRaw("Layers", RecordList(record.Textures.Layers, kLayerFields));
    json.AddNumber("LastLayer", record.Textures.LastLayer);
    json.AddRaw("Steps", RecordList(record.Rendering.Steps, kStepFields));
    json.AddNumber("LastStep", record.Rendering.LastStep);
    std::cout << json.Text() << std::endl;
    return kExitSuccess;
}

constexpr const char* kTool = "tamsel-inspect";
constexpr int kWindowSize = 256;

// Counts the errors the engine reports while it lives.
class ErrorCounter {
public:
    ErrorCounter() { CurrentEngine->Console->AddListener(Count, this); }
    ~ErrorCounter() { CurrentEngine->Console->RemoveListener(Count); }
    ErrorCounter(const ErrorCounter&) = delete;
    ErrorCounter& operator=(const ErrorCounter&) = delete;

    int Errors() const { return Counted; }

private:
    int Counted = 0;

    static void Count(void* counter, const std::string& text)
    {
        if (std::string_view(text).substr(0, kErrorPrefix.size()) == kErrorPrefix)
            ++static_cast<ErrorCounter*>(counter)->Counted;
    }
};

// The engine keeps a font whose files are missing as loaded (with zero
// widths, or without a picture); for the tool any error of its load fails it.
int InspectFont(const Arguments& arguments)
{
    const std::string& name = arguments.front();
    HiddenGL gl;
    if (!gl.Open(kTool, kWindowSize, kWindowSize))
        return kExitFailure;
    const ErrorCounter errors;
    const auto font = std::make_unique<ZRFont>(name, 0, nullptr);
    if (!font->IsLoaded() || errors.Errors() > 0)
        return kExitFailure;
    JsonObject json;
    json.AddText("name", font->GetName());
    json.AddNumber("texture_width", font->FontTexture->Width);
    json.AddNumber("texture_height", font->FontTexture->Height);
    json.AddRaw("CharWidths", JsonValue(font->CharWidths));
    json.AddNumber("BlendStyle", font->BlendStyle);
    json.AddNumber("FilterMode", font->FilterMode);
    std::cout << json.Text() << std::endl;
    return kExitSuccess;
}

// The JSON is printed whether or not the shader loaded; a shader that did not
// load has no kind. A program the driver rejects ends the process, as in the demo.
int InspectShader(const Arguments& arguments)
{
    const std::string& name = arguments.front();
    HiddenGL gl;
    if (!gl.Open(kTool, kWindowSize, kWindowSize))
        return kExitFailure;
    const auto shader = std::make_unique<ZRShader>(name, nullptr);
    const bool loaded = shader->IsLoaded();
    const bool vertex = shader->Kind == ZRShader::kVertexProgram;
    JsonObject json;
    json.AddText("name", shader->GetName());
    json.AddRaw("kind", loaded ? JsonObject::Quoted(vertex ? "vertex" : "fragment") : "null");
    json.AddRaw("loaded", JsonValue(loaded));
    std::cout << json.Text() << std::endl;
    return loaded ? kExitSuccess : kExitFailure;
}

std::string LevelJson(const ZRMLOD& level)
{
    JsonObject json;
    json.AddText("name", level.Name);
    json.AddRaw("distance", JsonValue(level.Distance));
    json.AddRaw("enabled", JsonValue(level.Enabled));
    json.AddNumber("vertices", static_cast<int64_t>(level.Vertices.size()));
    json.AddNumber("faces", static_cast<int64_t>(level.Faces.size()));
    json.AddRaw("display_list", JsonValue(level.DisplayList != nullptr));
    return json.Text();
}

std::string GroupJson(const ZRMGroup& group)
{
    JsonObject json;
    json.AddText("name", group.Name);
    json.AddNumber("material", group.Material);
    json.AddRaw("faces", JsonList(group.Faces, [](const auto& faces) { return std::to_string(faces.size()); }));
    return json.Text();
}

std::string MaterialNameJson(const ZRMaterial* material) { return JsonObject::Quoted(material->GetName()); }

std::string TextureJson(const ZRTexture* texture)
{
    JsonObject json;
    json.AddText("name", texture->GetName());
    json.AddText("file", texture->Settings.FileName);
    return json.Text();
}

std::string JointJson(const ZRMJoint& joint)
{
    JsonObject json;
    json.AddText("name", joint.Name);
    json.AddNumber("parent", joint.Parent);
    json.AddNumber("channel", joint.Channel);
    return json.Text();
}

std::string AnimationJson(const ZRMAnimation& animation)
{
    JsonObject json;
    json.AddText("name", animation.Name);
    json.AddRaw("rate", JsonValue(animation.Rate));
    json.AddRaw("loop", JsonValue(animation.Loop));
    json.AddRaw("length", JsonValue(animation.Length));
    return json.Text();
}

std::string AttachmentJson(const ZRMAttachment& attachment)
{
    JsonObject json;
    json.AddText("name", attachment.Name);
    json.AddNumber("joint", attachment.Joint);
    json.AddRaw("offset", JsonValue(attachment.Offset));
    return json.Text();
}

void AddModelParts(JsonObject& json, const TModel& model)
{
    json.AddRaw("lods", JsonList(model.LODs, LevelJson));
    json.AddRaw("groups", JsonList(model.Groups, GroupJson));
    json.AddRaw("materials", JsonList(model.Materials, MaterialNameJson));
    json.AddRaw("textures", JsonList(model.Textures, TextureJson));
    json.AddRaw("joints", JsonList(model.Joints, JointJson));
    json.AddRaw("animations", JsonList(model.Animations, AnimationJson));
    json.AddRaw("attachments", JsonList(model.Attachments, AttachmentJson));
}

void AddModelBounds(JsonObject& json, const TModel& model)
{
    json.AddRaw("bounding_radius", JsonValue(model.BoundingRadius));
    json.AddRaw("half_width", JsonValue(model.HalfWidth));
    json.AddRaw("top", JsonValue(model.Top));
    json.AddRaw("bottom", JsonValue(model.Bottom));
    json.AddRaw("extents", JsonValue(model.Extents));
}

// A model with the GL context that compiles its levels when its flags ask
// for display lists; declared in this order so that the model goes first.
class LoadedModel {
public:
    // The engine keeps a model whose file is damaged or whose textures are
    // missing as loaded; for the tool any error of its load fails it.
    bool Load(const std::string& name)
    {
        if (!GL.Open(kTool, kWindowSize, kWindowSize))
            return false;
        const ErrorCounter errors;
        Model = std::make_unique<ZRModel>(nullptr, name);
        return Model->IsLoaded() && errors.Errors() == 0;
    }
    ZRModel& Get() const { return *Model; }

private:
    HiddenGL GL;
    std::unique_ptr<ZRModel> Model;
};

int InspectModel(const Arguments& arguments)
{
    LoadedModel loaded;
    if (!loaded.Load(arguments.front()))
        return kExitFailure;
    const ZRModel& model = loaded.Get();
    JsonObject json;
    json.AddText("name", model.GetName());
    json.AddText("file", model.Settings.FileName);
    json.AddRaw("empty", JsonValue(model.Empty));
    AddModelParts(json, model.Model);
    AddModelBounds(json, model.Model);
    json.AddRaw("use_display_lists", JsonValue(model.Model.UseDisplayLists));
    std::cout << json.Text() << std::endl;
    return kExitSuccess;
}

int Usage();

// A key time: a finite number that takes the whole argument.
bool ParseTime(const std::string& text, float& time)
{
    const char* end = text.data() + text.size();
    const std::from_chars_result read = std::from_chars(text.data(), end, time);
    return read.ec == std::errc() && read.ptr == end && std::isfinite(time);
}

// An animation given by index when the argument is all digits, else by name;
// -1 when the model has none such.
int32_t FindAnimation(const ZRModel& model, const std::string& wanted)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!std::all_of(wanted.begin(), wanted.end(), digit))
        return model.AnimationIndex(wanted);
    int32_t index = -1;
    const char* end = wanted.data() + wanted.size();
    if (std::from_chars(wanted.data(), end, index).ec != std::errc() || index > HighIndex(model.Model.Animations))
        return -1;
    return index;
}

std::string PoseJson(const ZRModel& model, int32_t animation, float time)
{
    const auto posed = [&model, index = int32_t{0}](const ZRMJoint& joint) mutable {
        JsonObject json;
        json.AddText("name", joint.Name);
        json.AddRaw("position", JsonValue(model.JointPosition(index++)));
        return json.Text();
    };
    JsonObject json;
    json.AddNumber("animation", animation);
    json.AddRaw("time", JsonValue(time));
    json.AddRaw("joints", JsonList(model.Model.Joints, posed));
    return json.Text();
}

int InspectPose(const Arguments& arguments)
{
    const std::string& name = arguments[0];
    const std::string& wanted = arguments[1];
    float time = 0.0f;
    if (!ParseTime(arguments[2], time))
        return Usage();
    LoadedModel loaded;
    if (!loaded.Load(name))
        return kExitFailure;
    ZRModel& model = loaded.Get();
    const int32_t animation = FindAnimation(model, wanted);
    if (animation < 0) {
        CurrentEngine->Error(kTool, "No animation \"" + wanted + "\" in model \"" + name + "\"!");
        return kExitFailure;
    }
    const int32_t everyChannel = -1;
    model.EvaluatePose(animation, true, everyChannel, time);
    std::cout << PoseJson(model, animation, time) << std::endl;
    return kExitSuccess;
}

struct Command {
    std::string_view Name;
    // As the usage shows them, one word for each argument the command takes.
    std::string_view Parameters;
    int (*Run)(const Arguments& arguments);
};

// NAME is a resource name, relative to the root, without extension.
constexpr Command kCommands[] = {
    {"image", "NAME", InspectImage},
    {"material", "NAME", InspectMaterial},
    {"font", "NAME", InspectFont},
    {"shader", "NAME", InspectShader},
    {"model", "NAME", InspectModel},
    {"pose", "NAME ANIMATION TIME", InspectPose},
};

size_t ArgumentCount(const Command& command)
{
    return static_cast<size_t>(std::count(command.Parameters.begin(), command.Parameters.end(), ' ')) + 1;
}

const Command* FindCommand(std::string_view name)
{
    for (const Command& command : kCommands) {
        if (command.Name == name)
            return &command;
    }
    return nullptr;
}

struct CommandLine {
    std::string Root;
    const Command* Chosen = nullptr;
    Arguments Given;
};

bool ParseCommandLine(int argc, char** argv, CommandLine& line)
{
    int next = 1;
    if (next < argc && std::string_view(argv[next]) == "--root") {
        if (next + 1 >= argc || *argv[next + 1] == '\0')
            return false;
        line.Root = argv[next + 1];
        next += 2;
    }
    if (next >= argc)
        return false;
    line.Chosen = FindCommand(argv[next]);
    line.Given.assign(argv + next + 1, argv + argc);
    const auto empty = [](const std::string& argument) { return argument.empty(); };
    return line.Chosen != nullptr && line.Given.size() == ArgumentCount(*line.Chosen) &&
           std::none_of(line.Given.begin(), line.Given.end(), empty);
}

int Usage()
{
    std::cerr << "usage: tamsel-inspect [--root DIR] COMMAND ARGUMENTS, one of:" << std::endl;
    for (const Command& command : kCommands)
        std::cerr << "    " << command.Name << " " << command.Parameters << std::endl;
    return kExitUsage;
}

int Run(const CommandLine& line)
{
    ZOTEngine engine(line.Root);
    engine.SetShowErrors(false);
    engine.Initialize(nullptr, nullptr, nullptr);
    engine.Console->AddListener(CopyErrorLine, nullptr);
    return line.Chosen->Run(line.Given);
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line))
        return Usage();
    return Run(line);
}
