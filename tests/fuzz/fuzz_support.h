// What the fuzz targets share: a scratch directory that every input is
// written to as a file, one engine per process on that directory for the
// readers that go through the engine, and the check that stops a run when a
// reader breaks its promise.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/zot_console.h"
#include "core/zot_main.h"

namespace fuzz {

// A directory of the process's own, in memory where the system offers one,
// since every input passes through a file there.
class ScratchDir {
public:
    ScratchDir()
    {
        std::error_code failure;
        const bool inMemory = std::filesystem::is_directory("/dev/shm", failure) && access("/dev/shm", W_OK) == 0;
        const std::filesystem::path base = inMemory ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tamsel-fuzz-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        if (!made) {
            std::perror("tamsel fuzz: cannot make a scratch directory");
            std::abort();
        }
        Path = std::string(made) + "/";
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes the input as the file name in the directory and gives its native path.
    std::string Write(const std::string& name, const uint8_t* data, size_t size) const
    {
        const std::string path = Path + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }

    std::string Path;
};

// An engine whose program directory is a scratch directory. Errors open no
// box and the log is off: a run reports millions of damaged files.
class Engine {
public:
    Engine() : Root(std::make_unique<ZOTEngine>(Dir.Path))
    {
        Root->SetShowErrors(false);
        Root->Initialize(nullptr, nullptr, nullptr);
        Root->Console->Enabled = false;
    }

    // Writes the input as <name>.<extension> beside the program, where the
    // resources look for a file called name.
    void Write(const std::string& name, const std::string& extension, const uint8_t* data, size_t size) const
    {
        Dir.Write(name + "." + extension, data, size);
    }

private:
    ScratchDir Dir;
    std::unique_ptr<ZOTEngine> Root;
};

// The engine of this process, started on first use.
inline const Engine& SharedEngine()
{
    static const Engine engine;
    return engine;
}

// A broken promise of a reader is a finding like a crash.
inline void Require(bool kept, const char* promise)
{
    if (kept)
        return;
    std::fprintf(stderr, "tamsel fuzz: broken promise: %s\n", promise);
    std::abort();
}

}  // namespace fuzz
