// Loading files into line records: line splitting, CR LF removal across
// chunk boundaries, the line-ending flags, long lines, empty files, and the
// cache files that must disappear with the records.
#include "text/file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/text/text_test_util.h"

namespace {

using text_test::LinesOf;
using text_test::ScratchDir;
using text_test::WriteBytes;
using Lines = std::vector<std::string>;

constexpr long kChunk = 32768;  // the largest loading chunk

class LoadTest : public ::testing::Test {
 protected:
  file* Load(const std::string& bytes, const std::string& name = "f.txt") {
    WriteBytes(dir / name, bytes);
    return FileF_File((dir / name).c_str(), 0, 0);
  }
  ScratchDir dir;
};

TEST_F(LoadTest, SplitsLinesAndKeepsEveryByte) {
  file* f = Load(std::string("one\ntwo\n\nfo\0ur\xff\n", 16));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"one", "two", "", std::string("fo\0ur\xff", 6)}));
  EXPECT_EQ(f->lineCount, 4);
  EXPECT_EQ(f->size, 16);
  EXPECT_FALSE(f->flags & FILE_NO_FINAL_NEWLINE);
  FileFree(f);
}

TEST_F(LoadTest, LastLineWithoutNewlineIsALine) {
  file* f = Load("a\nlast");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"a", "last"}));
  EXPECT_TRUE(f->flags & FILE_NO_FINAL_NEWLINE);
  FileFree(f);
}

TEST_F(LoadTest, EmptyFileHasNoLines) {
  file* f = Load("");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->lineCount, 0);
  EXPECT_EQ(f->firstLine, nullptr);
  EXPECT_EQ(f->lastLine, nullptr);
  EXPECT_TRUE(f->flags & FILE_UNIFORM_ENDINGS);
  EXPECT_FALSE(f->flags & (FILE_CRLF_MAJORITY | FILE_SAVE_CRLF));
  EXPECT_EQ(f->cacheCapacity, kChunk);
  FileFree(f);
}

TEST_F(LoadTest, CrLfEndingsAreRemovedAndMarkTheMajority) {
  file* f = Load("a\r\nb\r\nc\n");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"a", "b", "c"}));
  EXPECT_TRUE(f->flags & FILE_CRLF_MAJORITY);
  EXPECT_TRUE(f->flags & FILE_SAVE_CRLF);
  EXPECT_FALSE(f->flags & FILE_UNIFORM_ENDINGS);
  FileFree(f);
}

TEST_F(LoadTest, OneCrLfAmongManyLfIsNeitherUniformNorMajority) {
  file* f = Load("a\nb\r\nc\nd\n");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"a", "b", "c", "d"}));
  EXPECT_FALSE(f->flags & FILE_CRLF_MAJORITY);
  EXPECT_FALSE(f->flags & FILE_UNIFORM_ENDINGS);
  FileFree(f);
}

TEST_F(LoadTest, OnlyCrLfIsUniform) {
  file* f = Load("a\r\nb\r\n");
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->flags & FILE_UNIFORM_ENDINGS);
  FileFree(f);
}

TEST_F(LoadTest, FileWithoutTerminatorIsUniformWithoutCrLfFlags) {
  file* f = Load("just text");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"just text"}));
  EXPECT_TRUE(f->flags & FILE_UNIFORM_ENDINGS);
  EXPECT_FALSE(f->flags & (FILE_CRLF_MAJORITY | FILE_SAVE_CRLF));
  FileFree(f);
}

TEST_F(LoadTest, LoneCrStaysInTheText) {
  file* f = Load("a\rb\nc\r\r\nd\r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"a\rb", "c\r", "d\r"}));
  FileFree(f);
}

TEST_F(LoadTest, CrLfSplitAcrossChunksIsOneLineEnd) {
  // The CR is the last byte of the first 32 KB chunk, its LF the first of
  // the next.
  std::string bytes(kChunk - 1, 'x');
  bytes += "\r\nnext\r\n";
  file* f = Load(bytes);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{std::string(kChunk - 1, 'x'), "next"}));
  EXPECT_TRUE(f->flags & FILE_CRLF_MAJORITY);
  FileFree(f);
}

TEST_F(LoadTest, LoneCrAtChunkEndIsKept) {
  std::string bytes(kChunk - 1, 'x');
  bytes += "\ry\n";
  file* f = Load(bytes);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{std::string(kChunk - 1, 'x') + "\ry"}));
  EXPECT_FALSE(f->flags & FILE_CRLF_MAJORITY);
  FileFree(f);
}

TEST_F(LoadTest, CrAtChunkEndBeforeEndOfFileIsKept) {
  std::string bytes(kChunk - 1, 'x');
  bytes += "\r";
  file* f = Load(bytes);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{std::string(kChunk - 1, 'x') + "\r"}));
  FileFree(f);
}

TEST_F(LoadTest, HundredThousandByteLineComesBackWhole) {
  std::string big(100000, 'q');
  big[0] = 'A';
  big[99999] = 'Z';
  file* f = Load("short\n" + big + "\nafter\n");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LinesOf(f), (Lines{"short", big, "after"}));
  EXPECT_GT(f->widestLine, 100000);
  // And again after another window was loaded.
  EXPECT_EQ(std::string(FileLineText(f, f->firstLine), 5), "short");
  line* l = f->firstLine->next;
  EXPECT_EQ(std::string(FileLineText(f, l), l->length), big);
  FileFree(f);
}

TEST_F(LoadTest, WindowBufferIsSizedByTheFile) {
  file* small = Load("abc\n", "small");
  file* mid = Load(std::string(10000, 'a'), "mid");
  ASSERT_NE(small, nullptr);
  ASSERT_NE(mid, nullptr);
  EXPECT_EQ(small->cacheCapacity, 8192);
  EXPECT_EQ(mid->cacheCapacity, 16384);
  FileFree(small);
  FileFree(mid);
}

TEST_F(LoadTest, RecordsNameAndModeAndLinks) {
  file* f = Load("1\n2\n3\n");
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->name, (dir / "f.txt").c_str());
  EXPECT_STREQ(f->expandedName, (dir / "f.txt").c_str());
  EXPECT_FALSE(f->flags & FILE_READONLY);
  EXPECT_EQ(f->lastLine->previous->previous, f->firstLine);
  EXPECT_EQ(f->firstLine->previous, nullptr);
  EXPECT_EQ(f->lastLine->next, nullptr);
  EXPECT_EQ(f->firstLine->capacity, -1);
  EXPECT_EQ(FileGetLine(f, 2), f->firstLine->next);
  EXPECT_EQ(FileGetLine(f, 4), nullptr);
  FileFree(f);
}

TEST_F(LoadTest, CacheFilesGoAwayWithTheRecord) {
  file* a = Load("a\n", "a");
  file* b = Load("b\n", "b");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(dir.Others({"a", "b"}).size(), 2u);  // one cache file each
  FileFree(a);
  FileFree(b);
  EXPECT_TRUE(dir.Others({"a", "b"}).empty());
}

TEST_F(LoadTest, FreeIgnoresNull) { FileFree(nullptr); }

TEST_F(LoadTest, RegisteredFilesAreShared) {
  WriteBytes(dir / "shared", "x\n");
  file* first = FileFName((dir / "shared").c_str(), 0);
  file* second = FileFName((dir / "shared").c_str(), 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  FileFree(first);
  file* third = FileFName((dir / "shared").c_str(), 0);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(LinesOf(third), (Lines{"x"}));
  FileFree(third);
}

TEST_F(LoadTest, StubIsLoadedOnDemand) {
  WriteBytes(dir / "stub", "s1\ns2\n");
  file* stub = FileFStub((dir / "stub").c_str());
  ASSERT_NE(stub, nullptr);
  EXPECT_TRUE(stub->flags & FILE_STUB);
  EXPECT_EQ(stub->lineCount, 0);
  file* loaded = FileFName((dir / "stub").c_str(), 0);
  EXPECT_EQ(loaded, stub);
  EXPECT_FALSE(loaded->flags & FILE_STUB);
  EXPECT_EQ(LinesOf(loaded), (Lines{"s1", "s2"}));
  FileFree(loaded);
}

TEST_F(LoadTest, LineRecordsAreInsertedAndRecycled) {
  file* f = Load("a\nc\n");
  ASSERT_NE(f, nullptr);
  line* b = _FileInsertO(f, f->lastLine, f->firstLine->storage.offset, 1);
  EXPECT_EQ(f->lineCount, 3);
  EXPECT_EQ(f->firstLine->next, b);
  EXPECT_EQ(b->next, f->lastLine);
  EXPECT_EQ(LinesOf(f), (Lines{"a", "a", "c"}));
  FileFree(f);
  line* single = LineFAlloc(7, 3);
  EXPECT_EQ(single->storage.offset, 7);
  EXPECT_EQ(single->length, 3);
  EXPECT_EQ(single->capacity, -1);
  LineFree(single);
  EXPECT_EQ(LineFAlloc(0, 0), single);  // the freed record comes back first
  LineFree(single);
}

}  // namespace
