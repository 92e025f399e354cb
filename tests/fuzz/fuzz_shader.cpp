// GPU program files through the shader resource up to the upload, which
// needs a GL module that a fuzz run has not.
#include "fuzz_support.h"
#include "resource/resource_shader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Engine& engine = fuzz::SharedEngine();
    engine.Write("input", "txt", data, size);
    ZRShader shader("input");
    if (shader.IsLoaded())
        fuzz::Require(shader.Kind == ZRShader::kVertexProgram || shader.Kind == ZRShader::kFragmentProgram,
                      "a loaded program is of a known kind");
    return 0;
}
