#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/file_file.h"
#include "core/zot_file.h"
#include "test_support.h"

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

std::string FloatBytes(float f)
{
    char raw[4];
    std::memcpy(raw, &f, 4);
    return std::string(raw, 4);
}

std::string StoredLine(const std::string& text, int lengthByte)
{
    std::string entry(56, '\0');
    entry[0] = static_cast<char>(lengthByte);
    entry.replace(1, text.size(), text);
    return entry.substr(0, 56);
}

}  // namespace

class FileSystem : public EngineTest {
protected:
    ZOTFileSystem& Files() { return *Engine->FileSystem; }
    std::unique_ptr<ZOTFile> OpenBinary(const std::string& name, const std::string& bytes)
    {
        Dir.Write(name, bytes);
        return Files().OpenForReading(EngineFile(name), kFileBinary);
    }
};

TEST_F(FileSystem, DirectoriesAndPathHelpers)
{
    const std::string app = Files().GetPath().AppDir;
    EXPECT_EQ(app, EngineFile(""));
    EXPECT_EQ(Files().GetPath().TexturesDir, app + "textures\\");
    EXPECT_EQ(Files().MakePath("tamsel", "ini"), app + "tamsel.ini");
    EXPECT_EQ(Files().RelativeName(app + "sub\\file.ext", false), "sub\\file");
    EXPECT_EQ(Files().RelativeName("elsewhere\\file.ext", true), "elsewhere\\file.ext");
    EXPECT_EQ(Files().RelativeName("sub.dir\\file", false), "sub");
    EXPECT_EQ(Files().RelativeName(".hidden", false), ".hidden");
    EXPECT_EQ(ZOTFileSystem::FileNameOf("sub\\file.ext"), "file.ext");
    EXPECT_EQ(ZOTFileSystem::WithTrailingBackslash(""), "");
    EXPECT_EQ(ZOTFileSystem::WithTrailingBackslash("sub"), "sub\\");
    EXPECT_EQ(ZOTFileSystem::WithTrailingBackslash("sub\\"), "sub\\");
    EXPECT_TRUE(ZOTFileSystem::IsSectionHeader("[DISPLAY]", "DISPLAY"));
    EXPECT_FALSE(ZOTFileSystem::IsSectionHeader("[DISPLAY] ", "DISPLAY"));
}

TEST_F(FileSystem, MissingFilesAreReportedOnlyWhenAskedAndOpenNothing)
{
    const size_t before = ConsoleLines().size();
    EXPECT_FALSE(Files().Exists(EngineFile("missing.txt"), false));
    EXPECT_EQ(ConsoleLines().size(), before);
    EXPECT_FALSE(Files().Exists(EngineFile("missing.txt"), true));
    EXPECT_EQ(ConsoleLines().back(), "  ERROR: ZT_FILE: File \"" + EngineFile("missing.txt") + "\" not found!");
    EXPECT_TRUE(Files().Exists(EngineFile("console.txt"), false));

    auto file = Files().OpenForReading(EngineFile("missing.bin"), kFileBinary);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_TRUE(file->AtEnd());
    EXPECT_THROW(file->ReadInteger(), ZOTIOError);
    EXPECT_EQ(ConsoleLines().back(), "  ERROR: ZT_FILE: File \"" + EngineFile("missing.bin") + "\" not found!");
    EXPECT_THROW(Files().OpenFile(EngineFile("none.txt"), kFileText, 1, kFileWrite), ZOTIOError);
}

TEST_F(FileSystem, BinaryReadsAreLittleEndianAndNeverPastTheEnd)
{
    const std::string bytes = Bytes({0xFE, 0xFF, 0xFF, 0xFF}) + Bytes({0x01, 0x00, 0x00, 0x80}) +
                              FloatBytes(1.5f) + Bytes({0x34, 0x12, 0x07, 0x02}) + FloatBytes(1) +
                              FloatBytes(2) + FloatBytes(3) + Bytes({3, 0, 'a', 'b', 'c', 0, 0});
    auto file = OpenBinary("values.bin", bytes);
    EXPECT_EQ(file->ReadInteger(), -2);
    EXPECT_EQ(file->ReadCardinal(), 0x80000001u);
    EXPECT_FLOAT_EQ(file->ReadSingle(), 1.5f);
    EXPECT_EQ(file->ReadWord(), 0x1234);
    EXPECT_EQ(file->ReadByte(), 7);
    EXPECT_TRUE(file->ReadBoolean());
    const Vector3 v = file->ReadVector();
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(file->ReadString(), "abc");
    EXPECT_EQ(file->ReadString(), "");
    EXPECT_TRUE(file->AtEnd());
    EXPECT_THROW(file->ReadByte(), ZOTIOError);

    EXPECT_THROW(OpenBinary("short.bin", Bytes({1, 2, 3}))->ReadInteger(), ZOTIOError);
    EXPECT_THROW(OpenBinary("string.bin", Bytes({10, 0, 'a', 'b'}))->ReadString(), ZOTIOError);
    EXPECT_EQ(OpenBinary("name.bin", Bytes({40, 0}) + std::string(40, 'n'))->ReadName(), std::string(32, 'n'));
    char buffer[4];
    EXPECT_THROW(OpenBinary("buffer.bin", "abc")->ReadBuffer(buffer, 4), ZOTIOError);
}

TEST_F(FileSystem, LineListsCheckTheirCountAgainstTheFile)
{
    ZTScript list;
    auto file = OpenBinary("lines.bin", Bytes({2, 0, 0, 0}) + StoredLine("first", 5) + StoredLine("second", 200));
    file->ReadLineList(list);
    EXPECT_EQ(list.Last, 1);
    EXPECT_EQ(list.Lines[0], "first");
    EXPECT_EQ(list.Lines[1].size(), 55u);

    auto empty = OpenBinary("empty.bin", Bytes({0, 0, 0, 0}));
    empty->ReadLineList(list);
    EXPECT_EQ(list.Last, -1);
    EXPECT_TRUE(list.Lines.empty());

    EXPECT_THROW(OpenBinary("negative.bin", Bytes({0xFF, 0xFF, 0xFF, 0xFF}))->ReadLineList(list), ZOTIOError);
    EXPECT_THROW(OpenBinary("huge.bin", Bytes({0xFF, 0xFF, 0xFF, 0x7F}) + StoredLine("x", 1))->ReadLineList(list),
                 ZOTIOError);
    EXPECT_THROW(OpenBinary("cut.bin", Bytes({2, 0, 0, 0}) + StoredLine("x", 1))->ReadLineList(list), ZOTIOError);
}

TEST_F(FileSystem, TextLinesReadWriteAndLoad)
{
    {
        auto out = Files().OpenForWriting(EngineFile("out.txt"), kFileText);
        out->WriteLine("alpha");
        out->WriteLine("");
    }
    Files().OpenFile(EngineFile("out.txt"), kFileText, 1, kFileWrite)->WriteLine("gamma");
    auto in = Files().OpenForReading(EngineFile("out.txt"), kFileText);
    EXPECT_EQ(in->ReadLine(), "alpha");
    EXPECT_EQ(in->ReadLine(), "");
    EXPECT_FALSE(in->AtEnd());
    EXPECT_EQ(in->ReadLine(), "gamma");
    EXPECT_TRUE(in->AtEnd());

    Dir.Write("mixed.txt", "one\r\ntwo\rthree\n" + std::string(70, 'x'));
    ZTScript list;
    in->LoadLines(EngineFile("mixed.txt"), list);
    ASSERT_EQ(list.Last, 3);
    EXPECT_EQ(list.Lines[2], "three");
    EXPECT_EQ(list.Lines[3], std::string(55, 'x'));

    Dir.Write("empty.txt", "");
    in->LoadLines(EngineFile("empty.txt"), list);
    EXPECT_EQ(list.Last, 0);
    EXPECT_EQ(list.Lines[0], "");
}
