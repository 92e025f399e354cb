// The garden as the program itself draws it: its screenshots, taken at a
// chosen pass of unattended runs or by keys sent to the running program.
#include <array>
#include <cmath>
#include <set>
#include <tuple>

#include "app/app_constant.h"
#include "platform/platform_image.h"
#include "program_test_support.h"
#include "resource/image_test_support.h"

using namespace program_test;

namespace {

struct Rgb {
    int r, g, b;
    double Luma() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
    bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

// x0 <= x < x1, y0 <= y < y1, y counted from the top of the 800 x 600 picture.
struct Area {
    int x0, y0, x1, y1;
    bool Holds(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

constexpr Area kWhole{0, 0, 800, 600};
// Clear of the borders and of the texts near the bottom.
constexpr Area kInside{8, 8, 790, 540};
constexpr Area kLogo{630, 547, 790, 587};
constexpr Area kEffectName{500, 548, 790, 578};
// Rows just above the effect's name, out of its reach.
constexpr Area kAboveName{500, 500, 790, 526};
constexpr Area kClock{500, 522, 790, 550};
// From far and low, the sky fills the upper part of the picture; it is
// judged there, above the fence and the slide.
constexpr const char* kLowCamera = "--camera 180,-2,8";
constexpr Area kSky{8, 8, 790, 170};
// Close and low, the cat's head and back stand against the sky here.
constexpr const char* kCloseCamera = "--camera 180,-2,0.7";
constexpr Area kCatAgainstSky{380, 60, 780, 212};

class Picture {
public:
    explicit Picture(const std::string& path) : Bytes(image_files::ReadFile(path))
    {
        std::string error;
        Loaded = platform::LoadBMP(path, Bitmap, error) && Bitmap.Width() == 800 && Bitmap.Height() == 600;
    }

    Rgb At(int x, int y) const
    {
        const uint8_t* pixel = Bitmap.Row(y) + 3 * x;
        return {pixel[2], pixel[1], pixel[0]};
    }
    template <typename Visit>
    void ForEach(const Area& area, Visit visit, int step = 1) const
    {
        for (int y = area.y0; y < area.y1; y += step)
            for (int x = area.x0; x < area.x1; x += step)
                visit(At(x, y), x, y);
    }
    template <typename Test>
    long Count(const Area& area, Test test, int step = 1) const
    {
        long count = 0;
        ForEach(area, [&](Rgb c, int x, int y) { count += test(c, x, y) ? 1 : 0; }, step);
        return count;
    }
    Rgb Mean(const Area& area) const
    {
        double sum[3] = {};
        ForEach(area, [&](Rgb c, int, int) { sum[0] += c.r, sum[1] += c.g, sum[2] += c.b; });
        const double n = double(area.x1 - area.x0) * (area.y1 - area.y0);
        return {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)};
    }
    std::set<Rgb> Colours(const Area& area) const
    {
        std::set<Rgb> colours;
        ForEach(area, [&](Rgb c, int, int) { colours.insert(c); });
        return colours;
    }
    // Pixels whose red stands at least 60 above the reddest of their column in
    // reference: text drawn additively in red raises red only, and far more
    // than the grass's own grain varies.
    long RedRaised(const Area& area, const Area& reference) const
    {
        std::array<int, 800> highest{};
        ForEach(reference, [&](Rgb c, int x, int) { highest[x] = std::max(highest[x], c.r); });
        return Count(area, [&](Rgb c, int x, int) { return c.r >= highest[x] + 60; });
    }

    bool Loaded = false;
    std::string Bytes;
    platform::Bitmap24 Bitmap;
};

double MeanDifference(const Picture& a, const Picture& b, const Area& area)
{
    long sum = 0;
    a.ForEach(area, [&](Rgb c, int x, int y) {
        const Rgb d = b.At(x, y);
        sum += std::abs(c.r - d.r) + std::abs(c.g - d.g) + std::abs(c.b - d.b);
    });
    return double(sum) / (3.0 * (area.x1 - area.x0) * (area.y1 - area.y0));
}

// Red raised where the text goes, with green and blue as they were.
long RedAddedSince(const Picture& before, const Picture& after, const Area& area)
{
    return after.Count(area, [&](Rgb c, int x, int y) {
        const Rgb d = before.At(x, y);
        return c.r - d.r >= 24 && std::abs(c.g - d.g) <= 8 && std::abs(c.b - d.b) <= 8;
    });
}

// Rows (or columns) of area in which most pixels are far darker than the
// area is on average: the lines of a grid.
int DarkLines(const Picture& picture, const Area& area, bool rows)
{
    const double dark = 0.6 * picture.Mean(area).Luma();
    int lines = 0;
    for (int line = rows ? area.y0 : area.x0; line < (rows ? area.y1 : area.x1); ++line) {
        const Area one = rows ? Area{area.x0, line, area.x1, line + 1} : Area{line, area.y0, line + 1, area.y1};
        const long length = rows ? area.x1 - area.x0 : area.y1 - area.y0;
        lines += picture.Count(one, [&](Rgb c, int, int) { return c.Luma() < dark; }) > length * 8 / 10;
    }
    return lines;
}

// The logo's orange, and the butterflies' wings: nothing else in the
// garden is as bright a red against so little blue.
bool Orange(Rgb c, int, int) { return c.r > 170 && c.r > c.b + 100; }
// The daylight sky is far bluer than red; the cat's coat is redder than blue,
// and where its fringe lets the sky through, a blend of the two shows.
bool Sky(Rgb c) { return c.b >= c.r + 90; }
bool Coat(Rgb c) { return c.r > c.b; }
bool Blend(Rgb c) { return !Sky(c) && !Coat(c); }

class GardenRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        // The sky and the effects are judged on a sky without butterflies,
        // and the software renderer is spared the fur and the lawn where
        // no test looks at them.
        SetParam("ButterflyCount", 0);
        SetParam("FurShells", 1);
        SetParam("RenderLawn", 0);
    }

    // The picture of pass `pass` of a run with these options; passes are
    // `step` seconds apart, so they repeat exactly.
    Picture Shot(int pass, const std::string& options, const char* step = "0.05")
    {
        const std::string shot = program.Dir.File("screenshot0.bmp");
        fs::remove(shot);
        const std::string n = std::to_string(pass);
        const RunResult run = program.Run("--no-dialogs --seed 1 --fixed-step " + std::string(step) + " --frames " + n +
                                          " --screenshot-at " + n + " " + options);
        EXPECT_EQ(run.ExitCode, 0) << options << ": " << run.Output;
        Picture picture(shot);
        EXPECT_TRUE(picture.Loaded) << options << ": no 800 x 600 screenshot";
        return picture;
    }
    // Four seconds in: the logo has gone.
    Picture Settled(const std::string& options) { return Shot(8, "--time 0 " + options, "0.5"); }
    // Rewrites one setting of the program's tamsel.ini.
    void SetParam(const std::string& key, int value)
    {
        std::string text;
        for (std::string line : ReadTextLines(program.Dir.File("tamsel.ini"))) {
            if (line.rfind(key + "=", 0) == 0)
                line = key + "=" + std::to_string(value);
            text += line + "\n";
        }
        program.Dir.Write("tamsel.ini", text);
    }

    ProgramCopy program{true};
};

}  // namespace

TEST_F(GardenRun, NoonSkyIsBlueTheLogoShowsOnlyAtFirstAndRunsRepeatExactly)
{
    const std::string options = std::string("--time 0 ") + kLowCamera;
    const Picture early = Shot(10, options);
    ASSERT_TRUE(early.Loaded);
    EXPECT_TRUE(Shot(10, options).Bytes == early.Bytes) << "two identical runs saved different pictures";

    const Rgb sky = early.Mean(kSky);
    EXPECT_GT(sky.b, sky.r + 60) << sky.r << " " << sky.g << " " << sky.b;
    EXPECT_GT(sky.b, 180);
    EXPECT_GT(early.Count(kLogo, Orange), 300) << "no logo at half a second";
    EXPECT_EQ(early.Count(kSky, Orange), 0) << "logo away from its place";

    const Picture later = Settled(kLowCamera);
    EXPECT_EQ(later.Count(kLogo, Orange), 0) << "logo still there at four seconds";
}

TEST_F(GardenRun, LateNightIsDarkWithStarsThatBlurSoftens)
{
    const Picture night = Shot(10, std::string("--time 0.95 ") + kLowCamera);
    const Picture blurred = Shot(10, std::string("--time 0.95 --effect blur ") + kLowCamera);
    ASSERT_TRUE(night.Loaded && blurred.Loaded);
    const auto bright = [](Rgb c, int, int) { return c.Luma() > 150; };
    EXPECT_LT(night.Mean(kSky).Luma(), 20.0);
    EXPECT_GT(night.Count(kSky, bright), 50) << "no stars";

    EXPECT_LT(blurred.Count(kSky, bright), night.Count(kSky, bright) / 4);
    EXPECT_NEAR(blurred.Mean(kSky).Luma(), night.Mean(kSky).Luma(), 1.0) << "blur changed the brightness";
}

TEST_F(GardenRun, EachEffectChangesThePictureInItsOwnWay)
{
    const Picture plain = Settled(kLowCamera);
    ASSERT_TRUE(plain.Loaded);
    std::vector<Picture> shots;
    for (const char* effect : kPostProcessingPrograms) {
        shots.push_back(Settled(std::string("--effect ") + effect + " " + kLowCamera));
        ASSERT_TRUE(shots.back().Loaded) << effect;
    }
    const auto shot = [&](const std::string& name) -> const Picture& {
        for (size_t i = 0; i < shots.size(); ++i) {
            if (name == kPostProcessingPrograms[i])
                return shots[i];
        }
        return plain;
    };

    for (size_t i = 0; i < shots.size(); ++i) {
        const std::string name = kPostProcessingPrograms[i];
        // On a cloudless sky blur has nothing to soften: the night test shows it.
        if (name != "blur") {
            EXPECT_GT(MeanDifference(shots[i], plain, kInside), 5.0) << name << " against no effect";
        }
        for (size_t j = 0; j < i; ++j)
            EXPECT_GT(MeanDifference(shots[i], shots[j], kInside), 5.0)
                << name << " against " << kPostProcessingPrograms[j];
    }

    const size_t plainColours = plain.Colours(kSky).size();
    EXPECT_LT(shot("cel").Colours(kSky).size() * 3, plainColours);
    const std::set<Rgb> gameboy = shot("gameboy").Colours(kInside);
    EXPECT_LE(gameboy.size(), 4u);
    for (const Rgb& c : gameboy)
        EXPECT_TRUE(c.g > c.r && c.g > c.b) << "gameboy shade " << c.r << " " << c.g << " " << c.b;
    const Rgb heat = shot("heatvision").Mean(kSky);
    EXPECT_GT(heat.r, heat.b + 100) << "the blue sky should read as warm";
    const auto notSepia = [](Rgb c, int, int) { return !(c.r >= c.g && c.g >= c.b && c.r > c.b + 20); };
    EXPECT_EQ(shot("sepia").Count(kInside, notSepia, 8), 0);
    // 96 tiles across the 1024 texels of the screen texture: a line about every 11 pixels each way.
    EXPECT_GE(DarkLines(shot("tiles"), kSky, true), 162 / 11);
    EXPECT_GE(DarkLines(shot("tiles"), kSky, false), 782 / 11);
    EXPECT_EQ(DarkLines(plain, kSky, true) + DarkLines(plain, kSky, false), 0);
    // Only the clouds' rims stand out.
    EXPECT_GT(shot("edge").Count(kSky, [](Rgb c, int, int) { return c.Luma() < 30; }), 0.8 * 782 * 162);
}

// On the dark ground of a night the red name stands out.
TEST_F(GardenRun, EachEffectShowsItsNameAndNoEffectShowsNone)
{
    const std::string night = std::string("--time 0.95 ") + kLowCamera;
    EXPECT_EQ(Settled(night).RedRaised(kEffectName, kAboveName), 0);
    for (const std::string effect : kPostProcessingPrograms) {
        // Red added to heatvision's red stays as it was.
        if (effect != "heatvision") {
            EXPECT_GT(Settled(night + " --effect " + effect).RedRaised(kEffectName, kAboveName), 30) << effect;
        }
    }
}

TEST_F(GardenRun, EffectsSeeNothingBeyondTheScreen)
{
    const Picture plain = Settled(kLowCamera);
    const Picture edge = Settled(std::string("--effect edge ") + kLowCamera);
    const Picture blur = Settled(std::string("--effect blur ") + kLowCamera);
    const Area top{0, 0, 800, 3}, right{797, 0, 800, 170};
    for (const Area& border : {top, right}) {
        EXPECT_LT(edge.Mean(border).Luma(), 30.0) << "edge found an edge at the border of a smooth sky";
        EXPECT_LT(MeanDifference(blur, plain, border), 4.0) << "blur mixed in what is not on screen";
    }
}

namespace {

// The program running on a display of the test's own, with its window focused.
class GardenKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasXdotool() || !Display.Ready)
            GTEST_SKIP() << "needs xdotool and Xvfb";
        ASSERT_TRUE(Running.Pid > 0 && program.WaitForScene());
        const std::string window =
            Xdotool("search --sync --all --pid " + std::to_string(Running.Pid) + " --name '^Tamsel$'");
        ASSERT_FALSE(window.empty());
        Xdotool("windowfocus --sync " + window);
    }

    std::string ShotFile(int n) const { return program.Dir.File("screenshot" + std::to_string(n) + ".bmp"); }
    bool WaitForShot(int n) const
    {
        return WaitUntil([&] { return fs::exists(ShotFile(n)); }) &&
               WaitUntil([&] { return Picture(ShotFile(n)).Loaded; }, std::chrono::seconds(5));
    }
    void Quit()
    {
        Xdotool("key Escape");
        EXPECT_EQ(Running.WaitForExit(), 0);
    }

    OwnDisplay Display;
    ProgramCopy program{true};
    RunningProgram Running{program};
};

}  // namespace

TEST_F(GardenKeys, ScreenshotKeySavesOneNumberedPicturePerPress)
{
    Xdotool("key F5");
    ASSERT_TRUE(WaitForShot(0));
    Xdotool("key F5");
    ASSERT_TRUE(WaitForShot(1));
    Xdotool("keydown F5");
    ASSERT_TRUE(WaitForShot(2));
    // Held on past the key's repeat delay.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Xdotool("keyup F5");
    Quit();
    EXPECT_FALSE(fs::exists(ShotFile(3))) << "a held key saved more than once";
}

TEST_F(GardenKeys, NextEffectAppliedAndTheClockShowOnTheNextScreenshots)
{
    Xdotool("key F5");
    ASSERT_TRUE(WaitForShot(0));
    Xdotool("key bracketright p F5");
    ASSERT_TRUE(WaitForShot(1));
    Xdotool("keydown s");
    Xdotool("key F5");
    ASSERT_TRUE(WaitForShot(2));
    Xdotool("keyup s");
    Quit();

    const Picture plain(ShotFile(0)), gameboy(ShotFile(1)), clock(ShotFile(2));
    EXPECT_GT(plain.Colours(kInside).size(), 4u);
    EXPECT_LE(gameboy.Colours(kInside).size(), 4u) << "the next effect after cel is gameboy";
    EXPECT_GT(MeanDifference(plain, gameboy, kInside), 5.0);
    EXPECT_GT(RedAddedSince(gameboy, clock, kClock), 50) << "no clock while the time key is held";
}

// The cat stands in the middle of the garden, its fur widening and softening
// its outline against the sky, and butterflies fly round it.
TEST_F(GardenRun, TheFurredCatStandsInTheMiddleWithButterfliesRoundIt)
{
    SetParam("FurShells", 16);
    const Picture furred = Settled(kCloseCamera);
    // Half a second in, before the butterflies spread out of the picture.
    const Picture alone = Shot(10, "--time 0");
    SetParam("FurShells", 1);
    const Picture bare = Settled(kCloseCamera);
    SetParam("ButterflyCount", 10);
    const Picture flock = Shot(10, "--time 0");
    ASSERT_TRUE(furred.Loaded && alone.Loaded && bare.Loaded && flock.Loaded);

    const Area middle{380, 330, 420, 370};
    const auto coat = [](Rgb c, int, int) { return Coat(c); };
    const auto blend = [](Rgb c, int, int) { return Blend(c); };
    const auto cat = [](Rgb c, int, int) { return !Sky(c); };
    EXPECT_EQ(furred.Count(middle, coat), 1600) << "no cat in the middle";
    EXPECT_EQ(bare.Count(middle, coat), 1600) << "no cat in the middle";
    EXPECT_GT(furred.Count(kCatAgainstSky, cat), bare.Count(kCatAgainstSky, cat) * 3 / 2)
        << "the fur does not widen the outline";
    EXPECT_GT(furred.Count(kCatAgainstSky, blend), furred.Count(kCatAgainstSky, cat) / 10) << "the fur's edge is hard";
    EXPECT_LT(bare.Count(kCatAgainstSky, blend), 50) << "shells drawn with the fur off";

    const auto wings = [](Rgb c, int x, int y) { return Orange(c, x, y) && !kLogo.Holds(x, y); };
    EXPECT_EQ(alone.Count(kWhole, wings), 0) << "something orange where there are no butterflies";
    EXPECT_GT(flock.Count(kWhole, wings), 200) << "no butterflies round the cat";
}

// The ground under the cat lies in its shadow at noon; the stone plate's
// relief catches the sun from the side it stands.
TEST_F(GardenRun, TheCatsShadowFallsOnTheGroundAndThePlateFollowsTheSun)
{
    const Area underTheCat{320, 365, 480, 415};
    const Area plate{60, 450, 330, 540};
    const Picture shadowed = Settled("");
    const Picture morning = Settled("--time -0.4");
    const Picture afternoon = Settled("--time 0.4");
    SetParam("RenderShadow", 0);
    const Picture unshadowed = Settled("");
    ASSERT_TRUE(shadowed.Loaded && morning.Loaded && afternoon.Loaded && unshadowed.Loaded);

    EXPECT_LT(shadowed.Mean(underTheCat).Luma(), 0.85 * unshadowed.Mean(underTheCat).Luma()) << "no shadow";
    EXPECT_LT(MeanDifference(shadowed, unshadowed, plate), 2.0) << "shadow away from the cat";
    EXPECT_GT(MeanDifference(morning, afternoon, plate), 4.0) << "the plate's relief ignores the sun";
}
