#include "gl/gl_displaylistengine.h"
#include "gl/gl_textureengine.h"
#include "gl_test_support.h"
#include "resource/resource_displaylist.h"
#include "resource/resource_texture.h"

class DisplayListTest : public GLTest {
protected:
    GLDisplayListEngine& DE() { return *GL->DisplayListEngine; }
    static bool IsList(uint32_t name) { return glIsList(name) == GL_TRUE; }

    static void Compile(ZRDisplayList& list)
    {
        list.BeginCompile();
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        list.EndCompile();
    }
};

TEST_F(DisplayListTest, EachListHasItsOwnNameAndOnlyRealListsAreDeleted)
{
    ZRDisplayList a, b, c;
    Compile(a);
    Compile(b);
    DE().DeleteListName(b.ListName + 1);
    DE().DeleteListName(0);
    EXPECT_TRUE(IsList(a.ListName) && IsList(b.ListName));
    EXPECT_NE(a.ListName, b.ListName);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const uint32_t first = a.ListName;
    a.Unload();
    EXPECT_FALSE(IsList(first));
    Compile(c);
    EXPECT_TRUE(IsList(b.ListName) && IsList(c.ListName));
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
    EXPECT_EQ(Floats(GL_CURRENT_COLOR)[1], 0.5f);
    EXPECT_EQ(GL->TextureEngine->Bound[0], nullptr);
}

TEST_F(DisplayListTest, CreationModesAndTheUndefinedOneStillCompile)
{
    ZRDisplayList shown, odd;
    shown.BeginCompile(GLDisplayListEngine::kModeCompileAndExecute);
    EXPECT_EQ(Integer(GL_LIST_MODE), GL_COMPILE_AND_EXECUTE);
    shown.EndCompile();
    odd.BeginCompile(7);
    EXPECT_EQ(Integer(GL_LIST_MODE), GL_COMPILE);
    odd.EndCompile();
    EXPECT_TRUE(IsList(odd.ListName));
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL_DISPLAYLIST: Undefined display list creation mode!"), 1);
}

TEST_F(DisplayListTest, ClearDestroysOwnedListsAndUnloadsTheOthers)
{
    auto* owned = new ZRDisplayList(&DE());
    ZRDisplayList foreign;
    Compile(*owned);
    Compile(foreign);
    const uint32_t names[2] = {owned->ListName, foreign.ListName};
    const int64_t alive = ZOTObject::InstanceCount();

    DE().Clear();
    EXPECT_EQ(ZOTObject::InstanceCount(), alive - 1);
    EXPECT_FALSE(IsList(names[0]) || IsList(names[1]));
    EXPECT_EQ(foreign.ListName, 0u);
}
