#include "gl/gl_2D_console.h"

#include <algorithm>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_2D_font.h"

namespace {

constexpr Color3 kDefaultBackColor{0.3f, 0.2f, 0.1f};
constexpr float kDefaultBackAlpha = 0.7f;
constexpr float kDefaultLineHeight = 11.0f;
constexpr float kDefaultMargin = 10.0f;
// The background reaches this many times Top below the last line.
constexpr float kBottomMarginFactor = 1.2f;

}  // namespace

GLConsole::GLConsole(GL_2DSystem* parent) : ZOTObject(parent, "ZOT GL 2D Console", "GLConsole"), System(parent) {}

GLConsole::~GLConsole()
{
    if (Listening && CurrentEngine && CurrentEngine->Console)
        CurrentEngine->Console->RemoveListener(ReceiveLine);
}

void GLConsole::Init()
{
    GL_2DSystem::InitFade(Visibility, Fade::kStill);
    SetStyle(nullptr, kWhite, 1.0f, 1.0f, kDefaultLineHeight, kDefaultMargin, kDefaultMargin, false);
    SetBackground(kDefaultBackColor, kDefaultBackAlpha);
    SetLineCount(kDefaultLineCount);
    SetVisible(false);
    if (!Listening) {
        CurrentEngine->Console->AddListener(ReceiveLine, this);
        Listening = true;
    }
    LogLine("ZOT GL: GL Console initialized!");
}

void GLConsole::ReceiveLine(void* console, const std::string& text) { static_cast<GLConsole*>(console)->AddLine(text); }

void GLConsole::AddLine(std::string_view text) { AddLineColored(text, TextColor); }

void GLConsole::AddLineColored(std::string_view text, const Color3& colour)
{
    if (!Enabled || Lines.empty())
        return;
    std::rotate(Lines.begin(), Lines.begin() + 1, Lines.end());
    Lines.back() = TCLine{std::string(text), colour};
}

void GLConsole::SetStyle(ZRFont* font, const Color3& colour, float alpha, float scale, float lineHeight, float left,
                         float top, bool showEmpty)
{
    Font = font;
    TextColor = colour;
    TextAlpha = alpha;
    TextScale = scale;
    LineHeight = lineHeight;
    Left = left;
    Top = top;
    ShowEmpty = showEmpty;
}

void GLConsole::SetBackground(const Color3& colour, float alpha)
{
    BackColor = colour;
    BackAlpha = alpha;
}

void GLConsole::SetLineCount(int32_t count)
{
    LineCount = std::max(count, 0);
    LastLine = LineCount - 1;
    Lines.assign(static_cast<std::size_t>(LineCount), TCLine{});
}

void GLConsole::SetVisible(bool on)
{
    if (on)
        GL_2DSystem::Show(Visibility);
    else
        GL_2DSystem::Hide(Visibility);
}

bool GLConsole::Counts(const TCLine& line) const { return ShowEmpty || !line.Text.empty(); }

int32_t GLConsole::CountedLines() const
{
    return static_cast<int32_t>(std::count_if(Lines.begin(), Lines.end(), [this](const TCLine& line) { return Counts(line); }));
}

void GLConsole::Render()
{
    if (!Enabled)
        return;
    const float fade = GL_2DSystem::UpdateFade(Visibility);
    if (GL_2DSystem::IsHidden(Visibility))
        return;
    const int32_t count = CountedLines();
    if (count == 0 || !Font)
        return;
    System->DrawRect(BackColor, BackAlpha * fade, 0.0f, 0.0f, System->Width,
                     static_cast<float>(count) * LineHeight + kBottomMarginFactor * Top);
    float y = Top;
    for (const TCLine& line : Lines) {
        if (!Counts(line))
            continue;
        System->Fonts->DrawText(Font, GLFont::kAlignLeft, Left, y, line.Color, TextAlpha * fade, TextScale, line.Text);
        y += LineHeight;
    }
}
