// tamsel-inspect: loads one asset through the engine, as the program would,
// and prints what it holds as one JSON line, so asset authors can check their
// files without starting the demo. Errors of the engine go to standard error.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "platform/platform_image.h"
#include "resource/resource_image.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kErrorPrefix = "  ERROR: ";

// One member of a JSON object, already in its final text form.
class JsonObject {
public:
    void AddText(std::string_view key, std::string_view value) { AddRaw(key, Quoted(value)); }
    void AddNumber(std::string_view key, int64_t value) { AddRaw(key, std::to_string(value)); }
    std::string Text() const { return "{" + Members + "}"; }

    static std::string Quoted(std::string_view text)
    {
        std::string out = "\"";
        for (const char c : text)
            out += Escaped(c);
        return out + "\"";
    }

private:
    std::string Members;

    void AddRaw(std::string_view key, const std::string& value)
    {
        if (!Members.empty())
            Members += ",";
        Members += Quoted(key) + ":" + value;
    }

    static std::string Escaped(char c)
    {
        switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            break;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            return code;
        }
        return std::string(1, c);
    }
};

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

int InspectImage(const std::string& name)
{
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

struct Command {
    std::string_view Name;
    int (*Run)(const std::string& argument);
};

// Each command takes one resource name, relative to the root, without extension.
constexpr Command kCommands[] = {
    {"image", InspectImage},
};

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
    std::string Argument;
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
    if (argc - next != 2)
        return false;
    line.Chosen = FindCommand(argv[next]);
    line.Argument = argv[next + 1];
    return line.Chosen != nullptr && !line.Argument.empty();
}

int Usage()
{
    std::string names;
    for (const Command& command : kCommands)
        names += (names.empty() ? "" : "|") + std::string(command.Name);
    std::cerr << "usage: tamsel-inspect [--root DIR] " << names << " NAME" << std::endl;
    return kExitUsage;
}

int Run(const CommandLine& line)
{
    ZOTEngine engine(line.Root);
    engine.SetShowErrors(false);
    engine.Initialize(nullptr, nullptr, nullptr);
    engine.Console->AddListener(CopyErrorLine, nullptr);
    return line.Chosen->Run(line.Argument);
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line))
        return Usage();
    return Run(line);
}
