#include "gl/gl_displaylistengine.h"

#include <GL/gl.h>

#include <algorithm>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_textureengine.h"
#include "resource/resource_displaylist.h"

GLDisplayListEngine::GLDisplayListEngine(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT GL Display List Engine", "GLDisplayListEngine")
{
}

GLDisplayListEngine::~GLDisplayListEngine() { Clear(); }

void GLDisplayListEngine::Init() { LogLine("ZOT GL: Display List Engine initialized!"); }

uint32_t GLDisplayListEngine::BeginList(ZRDisplayList* resource, int32_t mode)
{
    TakeSlot(resource);
    return NewList(mode);
}

void GLDisplayListEngine::TakeSlot(ZRDisplayList* resource)
{
    if (!resource)
        return;
    const auto free = std::find(Lists.begin(), Lists.end(), nullptr);
    if (free != Lists.end()) {
        *free = resource;
        return;
    }
    Lists.push_back(resource);
    LastList = static_cast<int32_t>(Lists.size()) - 1;
}

uint32_t GLDisplayListEngine::NewList(int32_t mode)
{
    const GLuint name = glGenLists(1);
    if (mode == kModeCompileAndExecute) {
        glNewList(name, GL_COMPILE_AND_EXECUTE);
        return name;
    }
    glNewList(name, GL_COMPILE);
    if (mode != kModeCompile)
        CurrentEngine->Error("ZOT_GL_DISPLAYLIST", "Undefined display list creation mode!");
    return name;
}

void GLDisplayListEngine::EndList() { glEndList(); }

void GLDisplayListEngine::CallList(uint32_t listName)
{
    if (glIsList(listName))
        glCallList(listName);
    ForgetBoundTextures();
}

void GLDisplayListEngine::ForgetBoundTextures()
{
    if (CurrentGL && CurrentGL->TextureEngine)
        CurrentGL->TextureEngine->ResetBound();
}

void GLDisplayListEngine::RemoveList(ZRDisplayList* resource)
{
    const auto entry = std::find(Lists.begin(), Lists.end(), resource);
    if (!resource || entry == Lists.end())
        return;
    DeleteListName(resource->ListName);
    *entry = nullptr;
    TrimFreeTail();
}

void GLDisplayListEngine::TrimFreeTail()
{
    while (LastList >= 0 && !Lists[LastList])
        --LastList;
    Lists.resize(LastList + 1);
}

void GLDisplayListEngine::DeleteListName(uint32_t listName)
{
    if (glIsList(listName))
        glDeleteLists(listName, 1);
}

void GLDisplayListEngine::Clear()
{
    for (std::size_t i = 0; i < Lists.size(); ++i) {
        ZRDisplayList* resource = Lists[i];
        if (!resource)
            continue;
        RemoveList(resource);
        if (resource->GetParent() == this)
            delete resource;
        else
            resource->Unload();
    }
    Lists.clear();
    Lists.shrink_to_fit();
    LastList = -1;
}
