// 2D drawing caught in GL's feedback mode: each quad drawn comes back as its
// box in units of the default 640 x 480 virtual screen of the 800 x 600 test
// window, with the texture coordinates at its edges and its alpha.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

struct FedVertex {
    float X, Y, S, T, Alpha;
};

struct FedQuad {
    float Left, Top, Right, Bottom;
    // The texture coordinates found at the left, right, top and bottom edges.
    float SLeft, SRight, TTop, TBottom;
    float Alpha;

    float CentreX() const { return (Left + Right) / 2; }
};

namespace feedback {

constexpr float kUnitsPerPixel = 640.0f / 800.0f;
constexpr float kWindowHeight = 600.0f;
// x, y, z, four colour components and four texture coordinates.
constexpr int kVertexFloats = 11;

inline FedQuad Box(const std::vector<FedVertex>& corners)
{
    const auto byX = [](const FedVertex& a, const FedVertex& b) { return a.X < b.X; };
    const auto byY = [](const FedVertex& a, const FedVertex& b) { return a.Y < b.Y; };
    const auto [left, right] = std::minmax_element(corners.begin(), corners.end(), byX);
    const auto [top, bottom] = std::minmax_element(corners.begin(), corners.end(), byY);
    return {left->X, top->Y, right->X, bottom->Y, left->S, right->S, top->T, bottom->T, corners.front().Alpha};
}

}  // namespace feedback

inline std::vector<FedQuad> CaptureQuads(const std::function<void()>& draw)
{
    using namespace feedback;
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FedQuad> quads;
    std::vector<FedVertex> corners;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLint>(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const auto count = static_cast<int>(buffer[i++]);
        for (int k = 0; k < count; ++k, i += kVertexFloats) {
            const GLfloat* v = &buffer[i];
            corners.push_back({v[0] * kUnitsPerPixel, (kWindowHeight - v[1]) * kUnitsPerPixel, v[7], v[8], v[6]});
        }
        // GL may hand a quad back whole or as two triangles.
        if (count == 4 || corners.size() == 6) {
            quads.push_back(Box(corners));
            corners.clear();
        }
    }
    return quads;
}
