#include "resource/resource_font.h"

#include <algorithm>
#include <memory>

#include "core/file_file.h"
#include "core/zot_convert.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "resource/resource_texture.h"

namespace {

constexpr std::string_view kKind = "Font";
constexpr const char* kErrorSource = "ZR_FONT";
constexpr std::string_view kWidthSection = "FONT_CHARWIDTH";
constexpr const char* kWidthExtension = "txt";
// Row fields are two characters wide with one separator between them.
constexpr std::size_t kFieldLength = 2;
constexpr std::size_t kFieldStride = 3;
// What a field gives when it holds no width.
constexpr uint8_t kNoWidth = 255;
constexpr int32_t kNoCompression = 0;

uint8_t FieldWidth(std::string_view line, std::size_t field)
{
    const std::size_t start = field * kFieldStride;
    if (start >= line.size())
        return kNoWidth;
    const int32_t value = ZOTConvert::StrToInt(line.substr(start, kFieldLength));
    return value >= 0 && value < kNoWidth ? static_cast<uint8_t>(value) : kNoWidth;
}

}  // namespace

ZRFont::ZRFont(const std::string& fileName, int32_t tag, ZOTOwner* parent)
    : ZOTResource(parent, kDefaultName, "ZRFont")
{
    Settings.Tag = tag;
    CreateTexture();
    if (!fileName.empty())
        LoadFromFile(fileName);
    Reset();
}

ZRFont::~ZRFont() { ZRFont::Unload(); }

void ZRFont::LoadFromFile(const std::string& fileName)
{
    Unload();
    NameAfterFile(fileName, kDefaultName, true);
    LogResource("Creating", kKind);
    CreateTexture();
    FontTexture->SetCompression(kNoCompression);
    FontTexture->LoadFromFile(fileName);
    SetFilterMode(FilterMode);
    CharWidths.fill(0);
    ReadWidthFile(fileName);
    Empty = false;
}

void ZRFont::Unload()
{
    if (IsLoaded()) {
        if (Name != kDefaultName)
            LogResource("Deleting", kKind);
        FontTexture->Unload();
        ZOTResource::Unload();
    }
    DestroyTexture();
}

void ZRFont::CreateTexture()
{
    DestroyTexture();
    FontTexture = new ZRTexture(this);
}

void ZRFont::DestroyTexture()
{
    delete FontTexture;
    FontTexture = nullptr;
}

void ZRFont::SetFilterMode(int32_t mode)
{
    FilterMode = mode;
    if (FontTexture && FontTexture->IsLoaded())
        FontTexture->SetFilter(mode);
}

void ZRFont::SetBlendStyle(int32_t style) { BlendStyle = style; }

void ZRFont::ReadWidthFile(const std::string& fileName)
{
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return;
    ZOTFileSystem& files = *CurrentEngine->FileSystem;
    const std::string path = files.MakePath(fileName, kWidthExtension);
    try {
        const std::unique_ptr<ZOTFile> file = files.OpenForReading(path, kFileText);
        int32_t row = kOutsideSection;
        int32_t rows = 0;
        while (file->IsOpen() && !file->AtEnd()) {
            row = TakeWidthLine(file->ReadLine(), row);
            if (row > 0)
                rows = row;
        }
        // A table cut short or lost leaves characters without widths.
        if (file->IsOpen() && rows < kCells)
            CurrentEngine->Error(kErrorSource, "Font width file \"" + path + "\" holds " + std::to_string(rows) +
                                                   " of " + std::to_string(kCells) + " rows");
    } catch (const ZOTIOError& error) {
        CurrentEngine->Error(kErrorSource, error.what());
    }
}

int32_t ZRFont::TakeWidthLine(std::string_view line, int32_t row)
{
    // A repeated section starts the table over from its first row.
    if (ZOTFileSystem::IsSectionHeader(line, kWidthSection))
        return 0;
    if (row == kOutsideSection)
        return row;
    if (line.empty())
        return kOutsideSection;
    if (row < kCells)
        StoreWidthRow(line, row);
    return std::min(row + 1, kCells);
}

void ZRFont::StoreWidthRow(std::string_view line, int32_t row)
{
    for (int32_t column = 0; column < kCells; ++column)
        CharWidths[static_cast<std::size_t>(row * kCells + column)] = FieldWidth(line, static_cast<std::size_t>(column));
}
