// Shared helpers of the test suite: scratch directories and a started engine.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/zot_main.h"

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamsel-test-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        Path = made ? std::string(made) + "/" : std::string();
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Native path of name inside the directory.
    std::string File(const std::string& name) const { return Path + name; }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }

    std::string Path;
};

// The lines of a text file, without their line ends.
inline std::vector<std::string> ReadTextLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// An engine whose program directory is a scratch directory; it never shows a box.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine = std::make_unique<ZOTEngine>(Dir.Path);
        Engine->SetShowErrors(false);
        Engine->Initialize(nullptr, nullptr, nullptr);
    }
    void TearDown() override { Engine.reset(); }

    std::vector<std::string> ConsoleLines() const { return ReadTextLines(Dir.File("console.txt")); }
    // How often the log holds exactly this line.
    long LogCount(const std::string& line) const
    {
        const std::vector<std::string> lines = ConsoleLines();
        return std::count(lines.begin(), lines.end(), line);
    }
    bool Logged(const std::string& line) const { return LogCount(line) > 0; }
    // Engine-form path (backslashes) of a file in the program directory.
    std::string EngineFile(const std::string& name) const;

    TempDir Dir;
    std::unique_ptr<ZOTEngine> Engine;
};

inline std::string EngineTest::EngineFile(const std::string& name) const
{
    std::string path = Dir.File(name);
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}
