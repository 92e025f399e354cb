// One GPU program in the ARB assembly language, vertex or fragment, read from
// a text file whose first characters tell the kind, uploaded through the
// shader engine and bound, unbound and fed program-local parameters through it.
#pragma once

#include <cstdint>
#include <string>

#include "core/zot_constant.h"
#include "math/math_types.h"
#include "resource/resource_main.h"

class ZRShader : public ZOTResource {
public:
    static constexpr int32_t kVertexProgram = 0;
    static constexpr int32_t kFragmentProgram = 1;

    explicit ZRShader(const std::string& fileName = std::string(), ZOTOwner* owner = nullptr);
    ~ZRShader() override;

    void LoadFromFile(const std::string& fileName) override;
    void Unload() override;

    void Bind();
    void Unbind();
    // The setters act on the program bound to their target; SetLocal always
    // addresses the vertex target, with w = 1.
    void SetLocal(uint32_t index, const Vector3& v);
    void SetVertexLocal(uint32_t index, const Vector3& v, float w);
    void SetFragmentLocal(uint32_t index, const Vector3& v, float w);

    uint32_t ProgramName = 0;
    int32_t Kind = kVertexProgram;
    // Whole lines: program texts are not cut like script lines.
    ZTScript Text;

private:
    bool ReadText(const std::string& path);
    void Upload();
};
