// stpgen as the build runs it: a readable description gives the two
// sides' classes; an unreadable one gives "<file>:<line>: error: ..." with
// status 1 and writes nothing.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

const std::string kStpgen = std::string(DIFFVIEW_BIN) + "/stpgen";

const char kHead[] = "interface X text\nside a local 1 remote 2 flags 0\n";
const char kOneWay[] = "message M table 2 send 2\n";

struct Broken {
  std::string text;
  std::string error;  // after "<file>:"
};

const Broken kBroken[] = {
    {"side a local 1 remote 2 flags 0\n", "1: error: the description must begin with 'interface'"},
    {"# none\n\ninterface X txt\n", "3: error: expected 'interface <Name> text|binary'"},
    {kHead, "1: error: an interface has two sides, found 1"},
    {std::string(kHead) + kOneWay + "  f:strng\n", "4: error: unknown type 'strng'"},
    {std::string(kHead) + kOneWay + "  reply r:str\n", "4: error: a reply field in the one-way message 'M'"},
    {std::string(kHead) + "message M table 1 send 2\n", "3: error: send flags and table flags disagree"},
    {std::string(kHead) + kOneWay + kOneWay, "4: error: message 'M' appears twice in side 'a'"},
    {std::string(kHead) + kOneWay + "  f:str f:num\n", "4: error: field 'f' appears twice in 'M'"},
    {std::string(kHead) + kOneWay + "  class:str\n", "4: error: 'class' is a reserved word"},
    {std::string(kHead) + "  f:str\n", "3: error: a field outside a message"},
    {"interface X text\nside a local one remote 2 flags 0\n", "2: error: 'one' is not a 32-bit number"},
    {"interface X text\nside a local 1 flags 0\n", "2: error: missing 'remote'"},
    {"interface X binary\ntype T header t.h put p get g sig {}\n",
     "2: error: hand-written types are for text interfaces only"},
    {std::string(kHead) + kOneWay + "frobnicate\n", "4: error: unknown keyword 'frobnicate'"},
};

TEST(Stpgen, RefusesABrokenDescriptionNamingFileAndLine) {
  for (const Broken& b : kBroken) {
    test_support::ScratchDir s;
    std::string desc = s.write("x.stpi", b.text);
    auto r = test_support::runProgram(kStpgen, {desc, s / "out"});
    EXPECT_EQ(r.status, 1) << b.text;
    EXPECT_EQ(r.err.rfind(desc + ":" + b.error, 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(s / "out")) << b.text;
  }
}

TEST(Stpgen, WritesBothSidesOfAReadableDescription) {
  test_support::ScratchDir s;
  std::string desc = s.write("x.stpi", std::string(kHead) + kOneWay +
                                           "  f:str n:num\nside b local 2 remote 1 flags 0\n");
  auto r = test_support::runProgram(kStpgen, {desc, s / "out", "gen"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(s.entries("out").size(), 4u);
  std::string b = test_support::readFile(s / "out/X_b_Impl.cpp");
  EXPECT_NE(b.find("#include \"gen/X_b_Impl.h\""), std::string::npos);
  EXPECT_NE(b.find("bool X_b_Impl::send_M(const char* f, int n, bool stp_synchronous"),
            std::string::npos);
  EXPECT_NE(b.find("{\"M\", \"f:%str% n:%num%\", 0, 0x2}"), std::string::npos);
}

}  // namespace
