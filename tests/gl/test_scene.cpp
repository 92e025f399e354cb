#include <string_view>

#include "gl/gl_scene_generic.h"
#include "gl/gl_scene_main.h"
#include "gl_test_support.h"

namespace {

class CountingScene : public GLScene {
public:
    CountingScene(ZOTOwner* parent, std::string_view name, int* destroyed = nullptr)
        : GLScene(parent, name, "CountingScene"), Destroyed(destroyed)
    {
    }
    ~CountingScene() override
    {
        if (Destroyed)
            ++*Destroyed;
    }
    void Render() override { ++Renders; }

    int Renders = 0;
    int* Destroyed;
};

class SceneTest : public GLTest {
protected:
    GLSceneEngine& Scenes() { return *GL->SceneEngine; }
};

}  // namespace

TEST_F(SceneTest, OnlyTheSceneInitialisedLastIsRenderedWhileTheEngineIsEnabled)
{
    Scenes().Render();
    CountingScene first(GL, "First");
    CountingScene second(GL, "Second");
    second.Initialize();
    first.Initialize();
    Scenes().Render();
    Scenes().Enabled = false;
    Scenes().Render();
    EXPECT_EQ(first.Renders, 1);
    EXPECT_EQ(second.Renders, 0);
    {
        CountingScene shortLived(GL, "Short");
        shortLived.Initialize();
    }
    EXPECT_EQ(Scenes().ActiveScene, nullptr);
    Scenes().Enabled = true;
    Scenes().Render();
}

TEST_F(SceneTest, ClearDestroysListedScenesButOnlyForgetsAnUnlistedActiveOne)
{
    int destroyed = 0;
    CountingScene application(GL, "App", &destroyed);
    Scenes().SetActiveScene(&application);
    Scenes().Clear();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(Scenes().ActiveScene, nullptr);

    // One listed scene is also the scene engine's child, the other nobody's.
    Scenes().Scenes = {new CountingScene(&Scenes(), "Child", &destroyed),
                       new CountingScene(nullptr, "Orphan", &destroyed)};
    Scenes().LastScene = 1;
    Scenes().SetActiveScene(Scenes().Scenes[0]);
    Scenes().Clear();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(Scenes().Scenes.empty());
    EXPECT_EQ(Scenes().ActiveScene, nullptr);
}
