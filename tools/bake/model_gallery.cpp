#include "model_gallery.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_modelengine.h"
#include "gl/gl_textureengine.h"
#include "hidden_gl.h"
#include "math/zot_math.h"
#include "resource/resource_model.h"

namespace bake {

namespace {

constexpr const char* kTool = "tamsel-bake";
constexpr int kView = 320;
constexpr int kColumns = 4;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 28;
constexpr float kLabelCell = 14.0f;
constexpr float kPitch = -18.0f;
// Half the camera's field of view, which its projection halves to 45 degrees.
constexpr float kHalfView = 22.5f;
constexpr float kPi = 3.14159265f;
constexpr Color3 kClear{0.55f, 0.62f, 0.7f};
const Color kBackground{0.11f, 0.11f, 0.12f, 1.0f};
// The yaws each model is shown at: the first faces the camera with the
// model's -z, as the model engine turns every model half round; the last is
// the cat's in the garden, from which its animations are shown.
constexpr float kYaws[] = {0.0f, 120.0f, 240.0f};
constexpr float kAnimationYaw = kYaws[2];
// Key times shown of every animation, as fractions of it.
constexpr float kMoments[] = {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f};

struct Shot {
    const ZRModel* Model = nullptr;
    int32_t Animation = -1;
    float Time = 0.0f;
    float Yaw = 0.0f;
    std::string Label;
};

std::string Number(float value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A row of yaws for every model, then a row of moments for each animation.
std::vector<std::vector<Shot>> Rows(const std::vector<std::unique_ptr<ZRModel>>& models,
                                    const std::vector<std::string>& names)
{
    std::vector<std::vector<Shot>> rows;
    for (size_t m = 0; m < models.size(); ++m) {
        const ZRModel* model = models[m].get();
        std::vector<Shot>& views = rows.emplace_back();
        for (float yaw : kYaws)
            views.push_back({model, -1, 0.0f, yaw, names[m] + "  yaw " + std::to_string(static_cast<int>(yaw))});
        for (size_t a = 0; a < model->Model.Animations.size(); ++a) {
            const ZRMAnimation& animation = model->Model.Animations[a];
            std::vector<Shot>& moments = rows.emplace_back();
            for (float moment : kMoments) {
                const float time = 1.0f + (animation.Length - 1.0f) * moment;
                moments.push_back({model, static_cast<int32_t>(a), time, kAnimationYaw,
                                   animation.Name + "  t " + Number(time)});
            }
        }
    }
    return rows;
}

// The camera looks down on the model from in front, far enough back for its
// bounding sphere to fit the view, so no yaw cuts off a tail or a corner.
void PlaceCamera(const ZRModel& model)
{
    const TModel& m = model.Model;
    const float radius = std::max(m.BoundingRadius, 0.05f);
    const Vector3 target{0.0f, 0.5f * (m.Top - m.Bottom), 0.0f};
    const float distance = radius / std::sin(kHalfView * kPi / 180.0f);
    const float pitch = kPitch * kPi / 180.0f;
    const Vector3 eye{0.0f, target.y - distance * std::sin(pitch), target.z + distance * std::cos(pitch)};
    CurrentGL->Camera->SetClipping(0.02f * radius, 20.0f * radius);
    CurrentGL->Camera->SetPositionRotation(eye, CurrentEngine->Math->AnglesTo(eye, target));
    CurrentGL->Camera->UpdateProjection();
}

// A grey floor under the model, so that where its feet stand shows.
void DrawFloor(float extent)
{
    GLMaterialEngine& materials = *CurrentGL->MaterialEngine;
    materials.Reset();
    materials.SetLighting(true, true);
    materials.SetColors({0.3f, 0.32f, 0.28f}, {0.45f, 0.5f, 0.42f}, {}, 0.0f, {});
    materials.Apply();
    CurrentGL->LightingEngine->ApplyLights(true, true, {}, extent, 1.0f, 0.0f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(-extent, 0.0f, -extent);
    glVertex3f(-extent, 0.0f, extent);
    glVertex3f(extent, 0.0f, extent);
    glVertex3f(extent, 0.0f, -extent);
    glEnd();
}

void Render(const Shot& shot)
{
    ZOTGL& gl = *CurrentGL;
    PlaceCamera(*shot.Model);
    gl.SetClearColor(kClear);
    gl.ClearBuffers();
    gl.TextureEngine->ResetBound();
    gl.ResetView();
    DrawFloor(1.5f * shot.Model->BoundingRadius());
    if (shot.Animation >= 0)
        gl.ModelEngine->SetAnimation(shot.Animation, -1, shot.Time);
    gl.ModelEngine->DrawModelAt(const_cast<ZRModel*>(shot.Model), {}, 0, 1.0f, {0.0f, shot.Yaw, 0.0f});
    gl.LightingEngine->ClearDynamicLights();
    glFinish();
}

void CopyView(Canvas& sheet, int left, int top)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(kView) * kView * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kView, kView, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < kView; ++y) {
        const uint8_t* row = pixels.data() + static_cast<size_t>(kView - 1 - y) * kView * 3;
        for (int x = 0; x < kView; ++x)
            sheet.At(left + x, top + y) = {row[3 * x] / 255.0f, row[3 * x + 1] / 255.0f, row[3 * x + 2] / 255.0f};
    }
}

void Light()
{
    GLLightingEngine& lights = *CurrentGL->LightingEngine;
    lights.Enable();
    lights.SetSun(CurrentEngine->Math->Normalize({0.5f, 1.0f, 0.7f}), {0.85f, 0.82f, 0.75f}, {0.4f, 0.42f, 0.48f});
}

Canvas Sheet(const std::vector<std::vector<Shot>>& rows, const Font& font)
{
    const int cellWidth = kView + kMargin, cellHeight = kView + kLabelHeight + kMargin;
    Canvas sheet(kColumns * cellWidth + kMargin, static_cast<int>(rows.size()) * cellHeight + kMargin, kBackground);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size() && c < kColumns; ++c) {
            const int left = kMargin + static_cast<int>(c) * cellWidth;
            const int top = kMargin + static_cast<int>(r) * cellHeight;
            Render(rows[r][c]);
            CopyView(sheet, left, top);
            font.DrawText(sheet, left + kView * 0.5f, top + kView + 14.0f, kLabelCell, rows[r][c].Label,
                          {1.0f, 0.92f, 0.7f, 1.0f}, Font::Align::Centre);
        }
    }
    return sheet;
}

}  // namespace

bool WriteModelGallery(const std::string& root, const Bake& bake, const Font& font, const std::string& path,
                       std::string& error)
{
    ZOTEngine engine(root);
    engine.SetShowErrors(false);
    engine.SetReportLeftovers(false);
    engine.Initialize(nullptr, nullptr, nullptr);
    HiddenGL gl;
    if (!gl.Open(kTool, kView, kView)) {
        error = "no window to render the models in";
        return false;
    }
    Light();
    std::vector<std::unique_ptr<ZRModel>> models;
    std::vector<std::string> names;
    for (const ModelFile& file : bake.Models) {
        models.push_back(std::make_unique<ZRModel>(nullptr, file.Name));
        names.push_back(file.Name);
    }
    const Canvas sheet = Sheet(Rows(models, names), font);
    models.clear();
    return WritePng(path, sheet, error);
}

}  // namespace bake
