// The shader engine: the two ARB program extensions, their entry points, the
// upload and binding of program texts, program-local parameters, the global
// switch that turns every program off, and a list of shaders handed over to it.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <vector>

#include "core/zot_object.h"

class ZRShader;

// Shaders handed over to the engine; it frees them.
struct TShaders {
    std::vector<ZRShader*> Items;
    int32_t Last = -1;
};

class GLShaderEngine : public ZOTObject {
public:
    explicit GLShaderEngine(ZOTOwner* parent);
    ~GLShaderEngine() override;

    void Initialize();
    void Enable();
    // Also switches off the program targets that the driver knows of.
    void Disable();

    // False when the target's extension is missing: nothing is uploaded then.
    // A program the driver rejects ends the process with exit code 2.
    bool UploadVertexProgram(ZRShader& shader);
    bool UploadFragmentProgram(ZRShader& shader);
    // Switches the target off unless the shader is a loaded program of the
    // target's kind, programs are on and the target is supported.
    void BindVertexProgram(const ZRShader* shader);
    void BindFragmentProgram(const ZRShader* shader);
    void DisableVertexPrograms();
    void DisableFragmentPrograms();
    void DeleteProgram(ZRShader& shader);
    // Act on the program bound to the target.
    void SetVertexLocal(uint32_t index, float x, float y, float z, float w);
    void SetFragmentLocal(uint32_t index, float x, float y, float z, float w);

    // Hands the shader over; null and shaders already listed are ignored.
    void AddShader(ZRShader* shader);
    // Frees the shader at index; an index outside the list changes nothing.
    void RemoveShader(int32_t index);
    // Frees every listed shader whose owner is owner; the engine itself
    // stands for every entry, as everything listed was handed to it.
    void RemoveShadersOwnedBy(const ZOTOwner* owner);
    // Drops the entry of a shader that is being destroyed, without freeing it.
    void ForgetShader(const ZRShader* shader);

    PFNGLGENPROGRAMSARBPROC glGenProgramsARB = nullptr;
    PFNGLBINDPROGRAMARBPROC glBindProgramARB = nullptr;
    PFNGLPROGRAMSTRINGARBPROC glProgramStringARB = nullptr;
    PFNGLDELETEPROGRAMSARBPROC glDeleteProgramsARB = nullptr;
    PFNGLVERTEXATTRIB4FARBPROC glVertexAttrib4fARB = nullptr;
    PFNGLPROGRAMLOCALPARAMETER4FARBPROC glProgramLocalParameter4fARB = nullptr;
    PFNGLPROGRAMENVPARAMETER4FARBPROC glProgramEnvParameter4fARB = nullptr;
    bool VertexProgramsSupported = false;
    bool FragmentProgramsSupported = false;
    TShaders Shaders;
    bool ShadersOn = true;

private:
    void FetchEntryPoints();
    bool TargetSupported(GLenum target) const;
    bool UploadProgram(GLenum target, ZRShader& shader);
    void CreateProgram(GLenum target, ZRShader& shader);
    void CheckProgramAccepted(const ZRShader& shader) const;
    void BindProgram(GLenum target, int32_t kind, const ZRShader* shader);
    void DisableTarget(GLenum target);
    void SetLocal(GLenum target, uint32_t index, float x, float y, float z, float w);
    void Unlist(int32_t index);
};
