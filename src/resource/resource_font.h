// A bitmap font: a glyph texture of 16 x 16 equal cells (character code c in
// column c mod 16 and row c div 16, row 0 at the top) and the advance width of
// every code, read from the text file beside the picture.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "resource/resource_main.h"

class ZRTexture;

class ZRFont : public ZOTResource {
public:
    static constexpr const char* kDefaultName = "RESOURCE FONT";
    // Cells per row and per column of the glyph texture, and rows of the width table.
    static constexpr int32_t kCells = 16;
    static constexpr int32_t kCodes = kCells * kCells;
    // The blend style whose text darkens what lies below; every other style adds.
    static constexpr int32_t kBlendDarken = 1;

    // fileName is relative to the program directory and has no extension; an
    // empty one leaves the font empty.
    ZRFont(const std::string& fileName, int32_t tag, ZOTOwner* parent);
    ~ZRFont() override;

    void LoadFromFile(const std::string& fileName) override;
    void Unload() override;

    // A texture filter mode of the texture engine; it reaches a loaded texture at once.
    void SetFilterMode(int32_t mode);
    void SetBlendStyle(int32_t style);

    ZRTexture* FontTexture = nullptr;
    // Twice the advance in pixels at scale 1, by character code.
    std::array<uint8_t, kCodes> CharWidths{};
    int32_t BlendStyle = 0;
    int32_t FilterMode = 1;

private:
    void CreateTexture();
    void DestroyTexture();
    void ReadWidthFile(const std::string& fileName);
    // Takes one line of the width file; row is where the next table row goes,
    // or kOutsideSection. Answers the row for the line after it.
    int32_t TakeWidthLine(std::string_view line, int32_t row);
    void StoreWidthRow(std::string_view line, int32_t row);

    static constexpr int32_t kOutsideSection = -1;
};
