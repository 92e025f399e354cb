// One GL 2D texture: its GL name, size, channel layout and wrap flags, and the
// choice of which GL texture is bound when it is drawn with. Everything that
// touches GL is done by the texture engine, which this resource calls.
#pragma once

#include <cstdint>
#include <string>

#include "resource/resource_main.h"

class ZOTFile;

class ZRTexture : public ZOTResource {
public:
    static constexpr const char* kDefaultName = "RESOURCE TEXTURE";

    // Generation types of GenMode.
    static constexpr int32_t kGenNone = 0;
    static constexpr int32_t kGenSphereMap = 1;
    static constexpr int32_t kGenCubeMap = 2;
    // Sources of MapSource.
    static constexpr int32_t kSourceOwn = 0;
    static constexpr int32_t kSourceReflection = 1;

    explicit ZRTexture(ZOTOwner* owner = nullptr);
    // fileName is relative to the program directory and has no extension.
    ZRTexture(const std::string& fileName, ZOTOwner* owner, int32_t tag = 0);
    ~ZRTexture() override;

    void LoadFromFile(const std::string& fileName) override;
    void Unload() override;

    void CreateEmpty(int32_t width, int32_t height, uint8_t fillValue);
    void SetSource(int32_t genMode, int32_t mapSource);
    void SetClamp(bool clampS, bool clampT);
    void SetFilter(int32_t mode);
    // Takes effect at the next upload.
    void SetCompression(int32_t value);
    // The texture reference of a model file: object name, then file name.
    void ReadReference(ZOTFile& file);

    uint32_t GLName = 0;
    uint32_t BindName = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Format = 0;
    int32_t GenMode = kGenNone;
    int32_t MapSource = kSourceOwn;
    // 0 none, 2 DXT5, anything else the generic compressed form of Format.
    int32_t Compression = -1;
    bool ClampS = false;
    bool ClampT = false;

private:
    void Initialize(ZOTOwner* owner, int32_t tag, const std::string& fileName);
};
