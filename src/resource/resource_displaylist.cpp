#include "resource/resource_displaylist.h"

#include "gl/gl_displaylistengine.h"
#include "gl/gl_main.h"

namespace {

// Lists can outlive the GL module (their owners are torn down later), and
// without it there is nothing left to release.
GLDisplayListEngine* Engine() { return CurrentGL ? CurrentGL->DisplayListEngine : nullptr; }

}  // namespace

ZRDisplayList::ZRDisplayList(ZOTOwner* owner) : ZOTResource(owner, kDefaultName, "ZRDisplayList") { Reset(); }

ZRDisplayList::~ZRDisplayList() { Unload(); }

void ZRDisplayList::BeginCompile(int32_t mode)
{
    Unload();
    GLDisplayListEngine* engine = Engine();
    if (!engine)
        return;
    if (Name != kDefaultName)
        LogResource("Creating", "Display List");
    ListName = engine->BeginList(this, mode);
    GLDisplayListEngine::ForgetBoundTextures();
    Empty = false;
}

void ZRDisplayList::EndCompile()
{
    if (GLDisplayListEngine* engine = Engine())
        engine->EndList();
    GLDisplayListEngine::ForgetBoundTextures();
}

void ZRDisplayList::Call()
{
    if (GLDisplayListEngine* engine = Engine())
        engine->CallList(ListName);
}

void ZRDisplayList::Unload()
{
    if (!IsLoaded())
        return;
    if (Name != kDefaultName)
        LogResource("Deleting", "Display List");
    if (GLDisplayListEngine* engine = Engine())
        engine->RemoveList(this);
    ListName = 0;
    ZOTResource::Unload();
}
