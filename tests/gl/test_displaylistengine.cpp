#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gl/gl_displaylistengine.h"
#include "gl/gl_textureengine.h"
#include "gl_test_support.h"
#include "resource/resource_displaylist.h"
#include "resource/resource_texture.h"

namespace {

bool IsList(uint32_t name) { return glIsList(name) == GL_TRUE; }

GLint ListMode()
{
    GLint mode = 0;
    glGetIntegerv(GL_LIST_MODE, &mode);
    return mode;
}

}  // namespace

class DisplayListTest : public GLTest {
protected:
    GLDisplayListEngine& DE() { return *GL->DisplayListEngine; }

    static void Compile(ZRDisplayList& list)
    {
        list.BeginCompile();
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        list.EndCompile();
    }

    bool Logged(const std::string& line) const
    {
        const std::vector<std::string> lines = ConsoleLines();
        return std::count(lines.begin(), lines.end(), line) == 1;
    }
};

TEST_F(DisplayListTest, ListsTakeTheFirstFreeSlotAndTheTableShrinksFromItsEnd)
{
    ZRDisplayList a, b, c, d;
    for (ZRDisplayList* list : {&a, &b, &c})
        Compile(*list);
    EXPECT_TRUE(IsList(a.ListName) && IsList(b.ListName) && IsList(c.ListName));
    EXPECT_TRUE(a.ListName != b.ListName && b.ListName != c.ListName);
    EXPECT_EQ(DE().Lists, (std::vector<ZRDisplayList*>{&a, &b, &c}));

    const uint32_t middle = b.ListName;
    b.Unload();
    EXPECT_FALSE(IsList(middle));
    EXPECT_EQ(DE().Lists, (std::vector<ZRDisplayList*>{&a, nullptr, &c}));
    Compile(d);
    EXPECT_EQ(DE().Lists, (std::vector<ZRDisplayList*>{&a, &d, &c}));

    c.Unload();
    EXPECT_EQ(DE().LastList, 1);
    d.Unload();
    a.Unload();
    EXPECT_TRUE(DE().Lists.empty());
    EXPECT_EQ(DE().LastList, -1);
}

TEST_F(DisplayListTest, CallingReplaysTheListAndForgetsBoundTextures)
{
    ZRDisplayList list;
    Compile(list);
    ZRTexture texture;
    texture.CreateEmpty(4, 4, 0);
    GL->TextureEngine->BindSingle(&texture);
    ASSERT_EQ(GL->TextureEngine->Bound[0], &texture);

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    list.Call();
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 0.5f);
    EXPECT_EQ(GL->TextureEngine->Bound[0], nullptr);
}

TEST_F(DisplayListTest, OnlyRealListsAreDeleted)
{
    ZRDisplayList list;
    Compile(list);
    DE().DeleteListName(list.ListName + 1);
    DE().DeleteListName(0);
    EXPECT_TRUE(IsList(list.ListName));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DisplayListTest, CreationModesAndTheUndefinedOneStillCompile)
{
    ZRDisplayList shown, odd;
    shown.BeginCompile(GLDisplayListEngine::kModeCompileAndExecute);
    EXPECT_EQ(ListMode(), GL_COMPILE_AND_EXECUTE);
    shown.EndCompile();
    odd.BeginCompile(7);
    EXPECT_EQ(ListMode(), GL_COMPILE);
    odd.EndCompile();
    EXPECT_TRUE(IsList(odd.ListName));
    EXPECT_TRUE(Logged("  ERROR: ZOT_GL_DISPLAYLIST: Undefined display list creation mode!"));
}

TEST_F(DisplayListTest, ResourcesLogOnlyUnderANameOfTheirOwn)
{
    {
        ZRDisplayList unnamed, lawn;
        lawn.SetName("Lawn");
        Compile(unnamed);
        Compile(lawn);
        lawn.Unload();
    }
    EXPECT_TRUE(Logged("Creating Display List: \"Lawn\""));
    EXPECT_TRUE(Logged("Deleting Display List: \"Lawn\""));
    const std::vector<std::string> lines = ConsoleLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Deleting Display List: \"RESOURCE DISPLAYLIST\""), 0);
}

TEST_F(DisplayListTest, ClearDestroysOwnedListsAndUnloadsTheOthers)
{
    auto* owned = new ZRDisplayList(&DE());
    owned->SetName("Owned");
    ZRDisplayList foreign;
    foreign.SetName("Foreign");
    Compile(*owned);
    Compile(foreign);
    const uint32_t names[2] = {owned->ListName, foreign.ListName};
    const int64_t alive = ZOTObject::InstanceCount();

    DE().Clear();
    EXPECT_EQ(ZOTObject::InstanceCount(), alive - 1);
    EXPECT_FALSE(IsList(names[0]) || IsList(names[1]));
    EXPECT_FALSE(foreign.IsLoaded());
    EXPECT_EQ(foreign.ListName, 0u);
    EXPECT_TRUE(DE().Lists.empty());
    EXPECT_TRUE(Logged("Deleting Display List: \"Owned\"") && Logged("Deleting Display List: \"Foreign\""));
}
