#include "core/file_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/zot_file.h"
#include "core/zot_main.h"
#include "platform/platform_system.h"

namespace {

constexpr int64_t kStoredLineSize = 1 + static_cast<int64_t>(kStringTextLength);

// Reports a missing file through the engine when there is one to report to.
bool ExistsForReading(const std::string& path)
{
    if (CurrentEngine && CurrentEngine->FileSystem)
        return CurrentEngine->FileSystem->Exists(path, true);
    std::error_code error;
    return std::filesystem::is_regular_file(platform::NativePath(path), error);
}

const char* OpenModeText(int32_t kind, int32_t append, int32_t mode)
{
    if (kind == kFileText && append == 1)
        return "r+b";
    return mode == kFileWrite ? "wb" : "rb";
}

}  // namespace

ZOTFile::ZOTFile(ZOTOwner* parent) : ZOTObject(parent, "ZOT File", "ZOTFile") {}

ZOTFile::~ZOTFile() { Close(); }

void ZOTFile::Open(const std::string& path, int32_t kind, int32_t append, int32_t mode)
{
    if (mode == kFileRead && !ExistsForReading(path))
        return;
    Close();
    OpenHandle(path, OpenModeText(kind, append, mode));
    Settings.FileName = path;
    Settings.Kind = kind;
    Settings.Mode = mode;
    Settings.Append = append;
    if (kind == kFileText && append == 1 && std::fseek(Settings.Handle, 0, SEEK_END) != 0)
        throw ZOTIOError("Can't append to file \"" + path + "\"");
}

void ZOTFile::OpenHandle(const std::string& path, const char* mode)
{
    Settings.Handle = std::fopen(platform::NativePath(path).c_str(), mode);
    if (!Settings.Handle)
        throw ZOTIOError("Can't open file \"" + path + "\"");
    Position = 0;
    Size = 0;
    if (std::fseek(Settings.Handle, 0, SEEK_END) == 0) {
        const long end = std::ftell(Settings.Handle);
        Size = end > 0 ? end : 0;
    }
    std::fseek(Settings.Handle, 0, SEEK_SET);
}

void ZOTFile::Close()
{
    if (Settings.Handle)
        std::fclose(Settings.Handle);
    Settings.Handle = nullptr;
    Settings.Kind = kFileNone;
}

bool ZOTFile::AtEnd()
{
    if (!Settings.Handle)
        return true;
    if (Settings.Kind == kFileBinary)
        return Position >= Size;
    const int c = std::fgetc(Settings.Handle);
    if (c == EOF)
        return true;
    std::ungetc(c, Settings.Handle);
    return false;
}

int64_t ZOTFile::Remaining() const { return Settings.Handle ? Size - Position : 0; }

void ZOTFile::RequireOpen(int32_t kind) const
{
    if (!Settings.Handle || Settings.Kind != kind)
        throw ZOTIOError("File \"" + Settings.FileName + "\" is not open for this operation");
}

void ZOTFile::RequireBytes(int64_t count) const
{
    if (count < 0 || count > Remaining())
        throw ZOTIOError("Read beyond end of file \"" + Settings.FileName + "\"");
}

void ZOTFile::ReadBuffer(void* target, int64_t count)
{
    RequireOpen(kFileBinary);
    RequireBytes(count);
    if (count == 0)
        return;
    if (std::fread(target, 1, static_cast<size_t>(count), Settings.Handle) != static_cast<size_t>(count))
        throw ZOTIOError("Read error in file \"" + Settings.FileName + "\"");
    Position += count;
}

uint32_t ZOTFile::ReadLittleEndian(int bytes)
{
    uint8_t raw[4] = {};
    ReadBuffer(raw, bytes);
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | raw[i];
    return value;
}

int32_t ZOTFile::ReadInteger() { return static_cast<int32_t>(ReadLittleEndian(4)); }

uint32_t ZOTFile::ReadCardinal() { return ReadLittleEndian(4); }

float ZOTFile::ReadSingle()
{
    const uint32_t bits = ReadLittleEndian(4);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint16_t ZOTFile::ReadWord() { return static_cast<uint16_t>(ReadLittleEndian(2)); }

uint8_t ZOTFile::ReadByte() { return static_cast<uint8_t>(ReadLittleEndian(1)); }

bool ZOTFile::ReadBoolean() { return ReadByte() != 0; }

Vector3 ZOTFile::ReadVector()
{
    Vector3 v;
    v.x = ReadSingle();
    v.y = ReadSingle();
    v.z = ReadSingle();
    return v;
}

Color3 ZOTFile::ReadColor()
{
    Color3 c;
    c.r = ReadSingle();
    c.g = ReadSingle();
    c.b = ReadSingle();
    return c;
}

std::string ZOTFile::ReadString()
{
    const uint16_t length = ReadWord();
    // A stored length past the end of the file gets no buffer.
    RequireBytes(length);
    std::string text(length, '\0');
    ReadBuffer(text.data(), length);
    return text;
}

std::string ZOTFile::ReadName() { return CutText(ReadString(), kNameLength); }

void ZOTFile::ReadLineList(ZTScript& list)
{
    list.Lines.clear();
    list.Last = -1;
    const int32_t count = ReadInteger();
    // Check the whole list against the file before allocating anything for it.
    if (count < 0 || static_cast<int64_t>(count) * kStoredLineSize > Remaining())
        throw ZOTIOError("Bad line count in file \"" + Settings.FileName + "\"");
    list.Lines.resize(static_cast<size_t>(count));
    for (std::string& line : list.Lines) {
        char stored[kStoredLineSize];
        ReadBuffer(stored, kStoredLineSize);
        const size_t length = std::min<size_t>(static_cast<uint8_t>(stored[0]), kStringTextLength);
        line.assign(stored + 1, length);
    }
    list.Last = count - 1;
}

std::string ZOTFile::ReadLine()
{
    RequireOpen(kFileText);
    std::string line;
    for (int c = std::fgetc(Settings.Handle); c != EOF; c = std::fgetc(Settings.Handle)) {
        if (c == '\n')
            break;
        if (c == '\r') {
            const int next = std::fgetc(Settings.Handle);
            if (next != '\n' && next != EOF)
                std::ungetc(next, Settings.Handle);
            break;
        }
        line += static_cast<char>(c);
    }
    return line;
}

void ZOTFile::WriteLine(std::string_view text)
{
    RequireOpen(kFileText);
    if (Settings.Mode != kFileWrite && Settings.Append != 1)
        throw ZOTIOError("File \"" + Settings.FileName + "\" is not open for writing");
    const bool written = std::fwrite(text.data(), 1, text.size(), Settings.Handle) == text.size() &&
                         std::fputc('\n', Settings.Handle) != EOF;
    if (!written)
        throw ZOTIOError("Write error in file \"" + Settings.FileName + "\"");
}

void ZOTFile::LoadLines(const std::string& path, ZTScript& list)
{
    list.Lines.clear();
    list.Last = -1;
    Close();
    OpenHandle(path, "rb");
    Settings.FileName = path;
    Settings.Kind = kFileText;
    Settings.Mode = kFileRead;
    Settings.Append = 0;
    do {
        list.Lines.push_back(CutText(ReadLine(), kStringTextLength));
    } while (!AtEnd());
    list.Last = static_cast<int32_t>(list.Lines.size()) - 1;
    Close();
}
