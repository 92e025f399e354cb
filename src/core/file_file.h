// One open file, binary (read in fixed-size little-endian pieces) or text
// (read and written line by line). Failures surface as ZOTIOError.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/zot_constant.h"
#include "core/zot_object.h"
#include "math/math_types.h"

// An input or output failure while a file is opened, read or written.
class ZOTIOError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum : int32_t { kFileNone = -1, kFileBinary = 0, kFileText = 1 };
enum : int32_t { kFileRead = 0, kFileWrite = 1 };

struct TSettings {
    std::FILE* Handle = nullptr;
    std::string FileName;
    int32_t Kind = kFileNone;
    int32_t Mode = kFileRead;
    int32_t Append = 0;
};

class ZOTFile : public ZOTObject {
public:
    explicit ZOTFile(ZOTOwner* parent);
    ~ZOTFile() override;

    void Open(const std::string& path, int32_t kind, int32_t append, int32_t mode);
    void OpenForReading(const std::string& path, int32_t kind) { Open(path, kind, 0, kFileRead); }
    void Create(const std::string& path, int32_t kind) { Open(path, kind, 0, kFileWrite); }
    void Close();
    bool AtEnd();
    bool IsOpen() const { return Settings.Kind != kFileNone; }

    // Bytes between the read position and the end of a binary file.
    int64_t Remaining() const;

    int32_t ReadInteger();
    uint32_t ReadCardinal();
    float ReadSingle();
    uint16_t ReadWord();
    uint8_t ReadByte();
    bool ReadBoolean();
    Vector3 ReadVector();
    Color3 ReadColor();
    void ReadBuffer(void* target, int64_t count);
    std::string ReadString();
    std::string ReadName();
    void ReadLineList(ZTScript& list);

    std::string ReadLine();
    void WriteLine(std::string_view text);
    void LoadLines(const std::string& path, ZTScript& list);

    const TSettings& GetSettings() const { return Settings; }

private:
    TSettings Settings;
    int64_t Size = 0;
    int64_t Position = 0;

    void OpenHandle(const std::string& path, const char* mode);
    void RequireOpen(int32_t kind) const;
    void RequireBytes(int64_t count) const;
    uint32_t ReadLittleEndian(int bytes);
};
