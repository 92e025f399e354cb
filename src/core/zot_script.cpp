#include "core/zot_script.h"

#include "core/zot_console.h"
#include "core/zot_main.h"

ZOTScript::ZOTScript(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Script", "ZOTScript") {}

void ZOTScript::Start() { CurrentEngine->Console->AddLine("ZOT Main: Script Class initialized!"); }

void ZOTScript::SetLineCount(ZTScript& list, int32_t count)
{
    if (count < 1) {
        ClearLines(list);
        return;
    }
    list.Lines.resize(static_cast<std::size_t>(count));
    list.Last = count - 1;
}

void ZOTScript::AppendLine(ZTScript& list, std::string_view text)
{
    list.Lines.push_back(CutText(text, kStringTextLength));
    list.Last = static_cast<int32_t>(list.Lines.size()) - 1;
}

void ZOTScript::ClearLines(ZTScript& list)
{
    list.Lines.clear();
    list.Last = -1;
}
