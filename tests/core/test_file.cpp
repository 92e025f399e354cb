#include "core/file_file.h"
#include "core/zot_file.h"
#include "test_support.h"

using namespace std::string_literals;

namespace {

// A line as line lists store it: a length byte and 55 characters.
std::string StoredLine(const std::string& text, int lengthByte)
{
    return static_cast<char>(lengthByte) + (text + std::string(55, '\0')).substr(0, 55);
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
    std::string NotFound(const std::string& name) const
    {
        return "  ERROR: ZT_FILE: File \"" + EngineFile(name) + "\" not found!";
    }
};

TEST_F(FileSystem, DirectoriesAndPathHelpers)
{
    const std::string app = Files().GetPath().AppDir;
    EXPECT_EQ(app, EngineFile(""));
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
    EXPECT_FALSE(Files().Exists(EngineFile("missing.txt"), false));
    EXPECT_FALSE(Logged(NotFound("missing.txt")));
    EXPECT_FALSE(Files().Exists(EngineFile("missing.txt"), true));
    EXPECT_TRUE(Logged(NotFound("missing.txt")));

    auto file = Files().OpenForReading(EngineFile("missing.bin"), kFileBinary);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_TRUE(file->AtEnd());
    EXPECT_THROW(file->ReadInteger(), ZOTIOError);
    EXPECT_TRUE(Logged(NotFound("missing.bin")));
    EXPECT_THROW(Files().OpenFile(EngineFile("none.txt"), kFileText, 1, kFileWrite), ZOTIOError);
}

TEST_F(FileSystem, BinaryReadsAreLittleEndianAndNeverPastTheEnd)
{
    // -2, 0x80000001, 1.5f, 0x1234, 7, true, {1, 2, 3}, "abc" and "".
    const std::string bytes = "\xFE\xFF\xFF\xFF\x01\0\0\x80\0\0\xC0\x3F\x34\x12\x07\x02"s +
                              "\0\0\x80\x3F\0\0\0\x40\0\0\x40\x40\x03\0abc\0\0"s;
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

    EXPECT_THROW(OpenBinary("short.bin", "\x01\x02\x03")->ReadInteger(), ZOTIOError);
    EXPECT_THROW(OpenBinary("string.bin", "\x0A\0ab"s)->ReadString(), ZOTIOError);
    EXPECT_EQ(OpenBinary("name.bin", "\x28\0"s + std::string(40, 'n'))->ReadName(), std::string(32, 'n'));
    char buffer[4];
    EXPECT_THROW(OpenBinary("buffer.bin", "abc")->ReadBuffer(buffer, 4), ZOTIOError);
}

TEST_F(FileSystem, LineListsCheckTheirCountAgainstTheFile)
{
    ZTScript list;
    OpenBinary("lines.bin", "\x02\0\0\0"s + StoredLine("first", 5) + StoredLine("second", 200))->ReadLineList(list);
    EXPECT_EQ(list.Last, 1);
    EXPECT_EQ(list.Lines[0], "first");
    EXPECT_EQ(list.Lines[1].size(), 55u);

    OpenBinary("empty.bin", "\0\0\0\0"s)->ReadLineList(list);
    EXPECT_EQ(list.Last, -1);
    EXPECT_TRUE(list.Lines.empty());

    EXPECT_THROW(OpenBinary("negative.bin", "\xFF\xFF\xFF\xFF")->ReadLineList(list), ZOTIOError);
    EXPECT_THROW(OpenBinary("huge.bin", "\xFF\xFF\xFF\x7F"s + StoredLine("x", 1))->ReadLineList(list), ZOTIOError);
    EXPECT_THROW(OpenBinary("cut.bin", "\x02\0\0\0"s + StoredLine("x", 1))->ReadLineList(list), ZOTIOError);
}

TEST_F(FileSystem, TextLinesEndAtAnyLineBreakAndAreCut)
{
    Dir.Write("mixed.txt", "one\r\n\rthree\n" + std::string(70, 'x'));
    ZTScript list;
    ZOTFile reader(nullptr);
    reader.LoadLines(EngineFile("mixed.txt"), list);
    ASSERT_EQ(list.Last, 3);
    EXPECT_EQ(list.Lines[1], "");
    EXPECT_EQ(list.Lines[2], "three");
    EXPECT_EQ(list.Lines[3], std::string(55, 'x'));

    Dir.Write("empty.txt", "");
    reader.LoadLines(EngineFile("empty.txt"), list);
    EXPECT_EQ(list.Last, 0);
    EXPECT_EQ(list.Lines[0], "");
}
