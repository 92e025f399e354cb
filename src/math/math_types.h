// The engine's shared value records: plain 32-bit float aggregates, copied by
// assignment, so any module can hold them without pulling in the math module.
#pragma once

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Point2 {
    float x = 0.0f;
    float y = 0.0f;
};

// Colour components run from 0 to 1.
struct Color3 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

constexpr Color3 kBlack{0.0f, 0.0f, 0.0f};
constexpr Color3 kWhite{1.0f, 1.0f, 1.0f};

struct Color4 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// Rows are stored one after the other: element (r, c) is m[4 * r + c]. Points
// are column vectors multiplied from the right, so the translation lies in
// m[3], m[7] and m[11]. GL expects the transpose of this order.
struct Matrix4 {
    float m[16] = {};
};
