// The text encoding: random items of every form read back by tag in and
// out of order, the exact text of escapes, numbers and arrays, missing and
// malformed groups, and texts cut short.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "stp_test_util.h"

namespace {

struct Item {
  std::string tag;
  int kind;  // number, 64-bit number, string, identifier, quoted identifier, struct, array
  uint64_t bits;
  std::string text;
  bool operator==(const Item&) const = default;
};

STPAsciiOMsg newMessage() { return STPAsciiOMsg(1, 2, STP_KIND_ASCII, 0, 0, 1, 0, 1); }

void put(STPAsciiOMsg& m, const Item& i) {
  const char* tag = i.tag.c_str();
  switch (i.kind) {
    case 0: return m.putNumber(tag, static_cast<uint32_t>(i.bits));
    case 1: return m.putLargeNumber(tag, i.bits);
    case 2: return m.putString(tag, i.text.c_str());
    case 3: return m.putIdent(tag, i.text.c_str());
    case 4: return m.putQuotedIdent(tag, i.text.c_str());
    case 5: m.putStartStruct(tag), m.putString("s", i.text.c_str()), m.putNumber("n", 7);
      return m.putEndStruct();
  }
  m.putStartArray(tag, 2);
  m.putLargeNumber(i.bits), m.putString(i.text.c_str()), m.putEndArray();
}

Item get(STPAsciiIMsg& m, Item i) {
  const char* tag = i.tag.c_str();
  int length = 0;
  const char* ident = nullptr;
  STPAsciiIMsgParamState state;
  switch (i.kind) {
    case 0: i.bits = m.getNumber(tag); break;
    case 1: i.bits = m.getLargeNumber(tag); break;
    case 2: i.text = take(m.getString(tag)); break;
    case 3: ident = m.getIdent(tag, &length), i.text.assign(ident, length); break;
    case 4: ident = m.getQuotedIdent(tag, &length), i.text.assign(ident, length); break;
    case 5: m.getStartStruct(tag, &state), i.bits = m.getNumber("n"), i.text = take(m.getString("s"));
      m.getEndStruct(&state);
      break;
    default: i.bits = m.getStartArray(tag, &state) == 2 ? m.getLargeNumber() : 0;
      i.text = take(m.getString()), m.getEndArray(&state);
  }
  return i;
}

std::string randomText(std::mt19937_64& random, const std::string& alphabet) {
  std::string text(random() % 8, ' ');
  for (char& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

TEST(StpAscii, RandomItemsReadBackInAndOutOfOrder) {
  std::mt19937_64 random(31);
  const std::string any = "ab \"\\\n{}[]():x0", word = "abcz09_.";
  for (int round = 0; round < 200; round++) {
    std::vector<Item> items;
    for (int n = 0; n < 10; n++) {
      Item i{"t" + std::to_string(n), static_cast<int>(random() % 7), random(), ""};
      if (i.kind == 0) i.bits &= 0xFFFFFFFF;
      if (i.kind >= 2) i.text = randomText(random, i.kind == 3 ? word : i.kind == 4 ? "ab c" : any);
      if (i.kind == 3 && i.text.empty()) i.text = "w";
      if (i.kind >= 2 && i.kind <= 4) i.bits = 0;
      if (i.kind == 5) i.bits = 7;
      items.push_back(i);
    }
    STPAsciiOMsg out = newMessage();
    for (const Item& i : items) put(out, i);
    STPAsciiIMsg in = received<STPAsciiIMsg>(out), again(in);
    for (const Item& i : items) EXPECT_EQ(get(in, i), i) << out.getAsciiContent();
    std::shuffle(items.begin(), items.end(), random);
    for (const Item& i : items) EXPECT_EQ(get(again, i), i) << out.getAsciiContent();
  }
}

// Counts the array-size warnings while it lives.
struct WarningCount {
  static inline int count = 0;
  gen_domessage_fn saved = gen_domessage;
  WarningCount() { count = 0, gen_domessage = capture; }
  ~WarningCount() { gen_domessage = saved; }
  static int capture(int code, const char* format, va_list) {
    count += code == GEN_MSG_WARNING && std::string(format) == "unspecified stp ascii array size";
    return 0;
  }
};

std::string ident(const char* text, const int& length) { return std::string(text, length); }

TEST(StpAscii, ExactTextOfEveryForm) {
  STPAsciiOMsg out(1, 2, STP_KIND_ASCII, 0, 0, 1, 0, 1, "pre");
  out.putIdent("Name");
  out.putString("s", "q\"b\\n\n");
  out.putString("z", nullptr);
  out.putNumber("n", 255), out.putLargeNumber("l", 0x100000002), out.putLargeNumber(5);
  out.putQuotedIdent("q", "a b");
  out.putStartArray("a", 3), out.putNumber(1), out.putEndArray();
  out.putStartArray("e"), out.putEndArray();
  out.putStartArray("u"), out.putNumber(1), out.putEndArray();
  out.putStartStruct(), out.putRawString(""), out.putEndStruct();
  EXPECT_STREQ(out.getAsciiContent(),
               "pre Name s:\"q\\\"b\\\\n\\n\" z:null n:0xff l:0x100000002 0x000000005 "
               "q:\"a b\" a:(3)[ 0x1 ] e:[ ] u:[ 0x1 ] { } ");
  STPAsciiIMsg in = received<STPAsciiIMsg>(out);
  int length = 0;
  const char* text = in.peekIdent(&length);
  EXPECT_EQ(ident(text, length), "pre");
  text = in.getIdent(&length);
  EXPECT_EQ(ident(text, length), "pre");
  text = in.getIdent(&length);
  EXPECT_EQ(ident(text, length), "Name");
  EXPECT_EQ(take(in.getString("s")), "q\"b\\n\n");
  EXPECT_EQ(take(in.getString("z")), "<null>");
  EXPECT_EQ(in.getNumber("n"), 255u);
  EXPECT_EQ(in.getLargeNumber("l"), 0x100000002u);
  EXPECT_EQ(in.getLargeNumber(), 5u);
  text = in.getQuotedIdent("q", &length);
  EXPECT_EQ(ident(text, length), "a b");
  STPAsciiIMsgParamState state;
  WarningCount warnings;
  for (auto [tag, count, warned] : {std::tuple{"a", 3, 0}, {"e", 0, 0}, {"u", 0, 1}}) {
    EXPECT_EQ(in.getStartArray(tag, &state), count) << tag;
    EXPECT_EQ(warnings.count, warned) << tag;
    in.getEndArray(&state);
  }
  EXPECT_TRUE(in.getStartStruct(&state));
  in.getEndStruct(&state);
  EXPECT_STREQ(in.getRemainder(), "");
}

TEST(StpAscii, MissingAndMalformedValuesReadAsNothing) {
  STPAsciiOMsg out = newMessage();
  out.putRawString("a:0x1 b:{ c:0x2 d:[ x ] e:\"open ");
  STPAsciiIMsg in = received<STPAsciiIMsg>(out);
  STPAsciiIMsgParamState state, inner;
  WarningCount warnings;
  int length = 7;
  EXPECT_EQ(in.getNumber("b"), 0u);  // a group, not a number; found out of order
  EXPECT_FALSE(in.getStartStruct("zz", &state));
  EXPECT_EQ(in.getNumber("a"), 0u);  // nothing in a missing group
  in.getEndStruct(&state);
  EXPECT_EQ(in.getNumber("a"), 1u);
  EXPECT_STREQ(in.getIdent("zz", &length), "");
  EXPECT_EQ(length, 0);
  EXPECT_EQ(take(in.getString("zz")), "<null>");
  EXPECT_TRUE(in.getStartStruct("b", &state));
  EXPECT_EQ(in.getStartArray("d", &inner), 0);
  EXPECT_EQ(warnings.count, 1);  // no count, and not empty
  in.getEndArray(&inner);
  EXPECT_EQ(take(in.getString("e")), "open ");  // no closing quote: to the end
  EXPECT_EQ(in.getNumber("c"), 2u);
  EXPECT_FALSE(in.getStartStruct("a", &inner));  // a number, not a group
}

TEST(StpAscii, TextsCutShortReadAsZerosOrNulls) {
  STPAsciiOMsg out = newMessage();
  out.putIdent("Name"), out.putString("s", "x\"y"), out.putNumber("n", 9);
  out.putStartArray("a", 1), out.putString("v"), out.putEndArray(), out.putNumber("m", 3);
  out.finishMessage(2);
  for (uint32_t length = 0; length < out.header().body_length; length++) {
    STPAsciiIMsg in(out.get_base(), 44, length);
    STPAsciiIMsgParamState state;
    const std::string s = take(in.getString("s")), v = (in.getStartArray("a", &state), take(in.getString()));
    in.getEndArray(&state);
    EXPECT_TRUE(s == "x\"y" || s == "<null>" || s.size() < 3) << length;
    EXPECT_TRUE(v == "v" || v == "<null>" || v.empty()) << length;
    EXPECT_LE(in.getNumber("m"), 3u);
  }
}

}  // namespace
