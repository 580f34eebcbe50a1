// The stream line reader: whole lines of any length with their newline,
// NUL bytes included, and null at the end of input.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "diff/diff.h"

namespace {

// Reads every line of `bytes` through diff_fgets.
std::vector<std::string> ReadAll(const std::string& bytes) {
  FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
  std::vector<std::string> lines;
  long length = 0;
  while (const char* text = diff_fgets(stream, &length)) lines.emplace_back(text, length);
  fclose(stream);
  return lines;
}

TEST(FgetsTest, LinesOfAnyLengthKeepTheirNewlineAndNulBytes) {
  EXPECT_EQ(ReadAll("a\nbc\n\nlast"), (std::vector<std::string>{"a\n", "bc\n", "\n", "last"}));
  EXPECT_TRUE(ReadAll("").empty());
  const std::string bytes("a\0b\n\0\n", 6);
  EXPECT_EQ(ReadAll(bytes),
            (std::vector<std::string>{std::string("a\0b\n", 4), std::string("\0\n", 2)}));
  for (size_t size : {510u, 511u, 512u, 513u, 1023u, 1024u, 5000u, 100000u}) {
    const std::string line(size, 'w');
    EXPECT_EQ(ReadAll(line + "\n" + line), (std::vector<std::string>{line + "\n", line}))
        << size;
  }
}

TEST(FgetsTest, NullStreamGivesNull) {
  long length = 5;
  EXPECT_EQ(diff_fgets(nullptr, &length), nullptr);
  EXPECT_EQ(length, 0);
}

}  // namespace
