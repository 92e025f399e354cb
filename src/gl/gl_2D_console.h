// The on-screen console: a copy of the last lines of the engine's log (it
// listens to the engine console), drawn over a background as the first part
// of the 2D pass while its visibility fade is up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/zot_object.h"
#include "gl/gl_2D.h"
#include "math/math_types.h"

class ZRFont;

struct TCLine {
    std::string Text;
    Color3 Color{1.0f, 1.0f, 1.0f};
};

// Oldest line first.
using TCLines = std::vector<TCLine>;

class GLConsole : public ZOTObject {
public:
    static constexpr int32_t kDefaultLineCount = 15;

    explicit GLConsole(GL_2DSystem* parent);
    ~GLConsole() override;

    void Init();
    void Render();

    void AddLine(std::string_view text);
    void AddLineColored(std::string_view text, const Color3& colour);

    // The font is only borrowed; none draws nothing.
    void SetStyle(ZRFont* font, const Color3& colour, float alpha, float scale, float lineHeight, float left,
                  float top, bool showEmpty);
    void SetBackground(const Color3& colour, float alpha);
    // Empties the console; a negative count counts as 0.
    void SetLineCount(int32_t count);
    void SetVisible(bool on);

    ZRFont* Font = nullptr;
    Color3 TextColor{1.0f, 1.0f, 1.0f};
    float TextAlpha = 1.0f;
    float TextScale = 1.0f;
    float LineHeight = 11.0f;
    float Left = 10.0f;
    float Top = 10.0f;
    bool ShowEmpty = false;
    Color3 BackColor{0.3f, 0.2f, 0.1f};
    float BackAlpha = 0.7f;
    TCLines Lines = TCLines(kDefaultLineCount);
    int32_t LastLine = kDefaultLineCount - 1;
    int32_t LineCount = kDefaultLineCount;
    Fade Visibility{0.0f, Fade::kFalling};
    bool Enabled = true;

private:
    GL_2DSystem* System;
    bool Listening = false;

    static void ReceiveLine(void* console, const std::string& text);
    bool Counts(const TCLine& line) const;
    int32_t CountedLines() const;
};
