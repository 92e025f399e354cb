// A children's slide: a blue tube frame holding a deck with red guard
// panels, a ladder up its -x side and a yellow chute curving down to +x.
#include "model_kit.h"
#include "props.h"

namespace bake {

namespace {

constexpr int kRound = 12;
constexpr float kTubeRadius = 0.03f;
constexpr float kRungRadius = 0.022f;
// The deck spans x from kDeckBack to kDeckFront and z across +-kDeckHalf.
constexpr float kDeckBack = -0.8f;
constexpr float kDeckFront = -0.2f;
constexpr float kDeckHalf = 0.3f;
constexpr float kDeckTop = 1.4f;
constexpr float kDeckThickness = 0.06f;
constexpr float kPostTop = 1.93f;
constexpr float kKnobRadius = 0.045f;
constexpr float kRailHeight = kPostTop - 0.03f;
constexpr float kPanelBottom = 1.47f;
constexpr float kPanelTop = 1.86f;
constexpr float kPanelThickness = 0.03f;
// How far the panels stop short of the deck's ends.
constexpr float kPanelInset = 0.06f;
constexpr float kPortholeRadius = 0.1f;
constexpr float kLadderFoot = -1.28f;
constexpr float kLadderHalf = 0.2f;
// How far the ladder's rails reach above the deck.
constexpr float kLadderReach = 0.12f;
constexpr int kRungs = 5;
constexpr float kChuteHalf = 0.25f;
constexpr float kChuteWall = 0.04f;
constexpr float kChuteSide = 0.14f;
constexpr int kChutePieces = 24;

enum Group : uint8_t { kFrame, kChute, kDeck };

Placement In(uint8_t group)
{
    Placement placement;
    placement.Group = group;
    return placement;
}

// Corner posts from the ground to above the deck, with round knobs on top
// and a rail along the top of each guarded side.
void Posts(Mesh& mesh)
{
    const float inset = kTubeRadius + 0.01f;
    const float xs[] = {kDeckBack + inset, kDeckFront - inset};
    for (float x : xs) {
        for (float z : {-kDeckHalf + inset, kDeckHalf - inset}) {
            mesh.Tube({x, 0, z}, {x, kPostTop, z}, kTubeRadius, kTubeRadius, kRound, In(kFrame));
            mesh.Lathe({x, kPostTop - kKnobRadius, z}, {0, 1, 0}, BallProfile(kKnobRadius), kRound, In(kFrame));
        }
    }
    for (float z : {-kDeckHalf + inset, kDeckHalf - inset})
        mesh.Tube({xs[0], kRailHeight, z}, {xs[1], kRailHeight, z}, kTubeRadius, kTubeRadius, kRound, In(kFrame));
}

// The deck, and a guard panel with a porthole on each side.
void Deck(Mesh& mesh)
{
    const float middle = 0.5f * (kDeckBack + kDeckFront), half = 0.5f * (kDeckFront - kDeckBack);
    mesh.Box({middle, kDeckTop - 0.5f * kDeckThickness, 0}, {half, 0.5f * kDeckThickness, kDeckHalf}, In(kDeck));
    const float back = kDeckBack + kPanelInset, front = kDeckFront - kPanelInset;
    const Outline panel{{back, kPanelBottom}, {front, kPanelBottom}, {front, kPanelTop}, {back, kPanelTop}};
    const Outline porthole = Circle(kPortholeRadius, 2 * kRound, {middle, 0.5f * (kPanelBottom + kPanelTop)});
    for (float z : {-kDeckHalf, kDeckHalf - kPanelThickness})
        mesh.Prism({{0, 0, z}, {1, 0, 0}, {0, 1, 0}}, panel, kPanelThickness, In(kDeck), porthole);
}

// Leaning against the deck's back edge, its rungs evenly spaced up to the deck.
void Ladder(Mesh& mesh)
{
    const Vector3 foot{kLadderFoot, kTubeRadius, 0.0f}, top{kDeckBack - kTubeRadius, kDeckTop + kLadderReach, 0.0f};
    for (float z : {-kLadderHalf, kLadderHalf})
        mesh.Tube(foot + Vector3{0, 0, z}, top + Vector3{0, 0, z}, kTubeRadius, kTubeRadius, kRound, In(kFrame));
    for (int i = 1; i <= kRungs; ++i) {
        const float height = kDeckTop * i / (kRungs + 1);
        const Vector3 at = foot + (top - foot) * ((height - foot.y) / (top.y - foot.y));
        mesh.Tube(at + Vector3{0, 0, -kLadderHalf}, at + Vector3{0, 0, kLadderHalf}, kRungRadius, kRungRadius, kRound,
                  In(kFrame));
    }
}

// Steep from the deck's front edge, levelling out just above the ground.
std::vector<Vector3> ChutePath()
{
    return Bezier({kDeckFront, kDeckTop + 0.02f, 0.0f}, {0.35f, 1.05f, 0.0f}, {0.7f, 0.2f, 0.0f},
                  {1.45f, 0.22f, 0.0f}, kChutePieces);
}

// A channel open at the top: a floor between two side walls.
Outline ChuteSection()
{
    const float outer = kChuteHalf, inner = kChuteHalf - kChuteWall;
    return {{-outer, -kChuteWall}, {outer, -kChuteWall}, {outer, kChuteSide}, {inner, kChuteSide},
            {inner, 0.0f},         {-inner, 0.0f},       {-inner, kChuteSide}, {-outer, kChuteSide}};
}

// The chute, and legs under its middle and its run-out.
void Chute(Mesh& mesh)
{
    const std::vector<Vector3> path = ChutePath();
    mesh.Sweep(path, ChuteSection(), {0, 0, -1}, In(kChute));
    for (size_t i : {path.size() * 3 / 5, path.size() - 2}) {
        const float height = path[i].y - kChuteWall;
        for (float z : {-kLadderHalf, kLadderHalf}) {
            const Vector3 leg{path[i].x, 0.0f, z};
            mesh.Tube(leg, leg + Vector3{0, height, 0}, kTubeRadius, kTubeRadius, kRound, In(kFrame));
        }
    }
}

}  // namespace

void BakeSlide(Bake& bake)
{
    Mesh mesh;
    Posts(mesh);
    Deck(mesh);
    Ladder(mesh);
    Chute(mesh);
    CentreOnOrigin(mesh);
    const std::vector<ztm::Material> materials{
        Painted("Frame", {0.14f, 0.32f, 0.72f}, 0.7f),
        Painted("Chute", {0.96f, 0.74f, 0.1f}, 0.8f),
        Painted("Deck", {0.82f, 0.18f, 0.14f}, 0.5f),
    };
    bake.Models.push_back(Finished("slide", "Slide", mesh, materials, {}));
}

}  // namespace bake
