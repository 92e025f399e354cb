// Program texts and the GL queries the shader tests read programs back with.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <memory>
#include <string>

#include "gl_test_support.h"
#include "platform/platform_gl.h"
#include "resource/resource_shader.h"

namespace shader_texts {

// The long line would break if lines were cut like script lines.
inline const std::string kLongLine = "MAD result.position, vertex.position, program.local[1], program.local[0];";
inline const std::string kVertex = "!!ARBvp1.0\n" + kLongLine + "\nMOV result.color, vertex.color;\nEND\n";
inline const std::string kFragment = "!!ARBfp1.0\r\nMOV result.color, program.local[2];\r\nEND";
inline const std::string kBroken = "!!ARBvp1.0\nMOV result.position, nowhere;\nEND\n";

}  // namespace shader_texts

template <typename Proc>
Proc Entry(const char* name)
{
    return reinterpret_cast<Proc>(platform::GetProcAddress(name));
}

class ShaderGLTest : public GLTest {
protected:
    // Loads text, written to <name>.txt in the program directory, as a shader.
    std::unique_ptr<ZRShader> Load(const std::string& name, const std::string& text, ZOTOwner* owner = nullptr)
    {
        Dir.Write(name + ".txt", text);
        return std::make_unique<ZRShader>(name, owner);
    }

    static GLint BoundProgram(GLenum target)
    {
        GLint name = -1;
        Entry<PFNGLGETPROGRAMIVARBPROC>("glGetProgramivARB")(target, GL_PROGRAM_BINDING_ARB, &name);
        return name;
    }

    static std::array<GLfloat, 4> Local(GLenum target, GLuint index)
    {
        std::array<GLfloat, 4> values{};
        Entry<PFNGLGETPROGRAMLOCALPARAMETERFVARBPROC>("glGetProgramLocalParameterfvARB")(target, index, values.data());
        return values;
    }
};
