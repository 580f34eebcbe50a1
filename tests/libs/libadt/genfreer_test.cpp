// The deferred freer (no program uses it yet): what is marked and not cancelled is freed exactly
// once when the freer goes away, and nothing else.
#include "libs/libadt/genfreer.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<void*, int> freed;
void count_free(void* p) { freed[p]++; }

TEST(GenFreer, FreesWhatIsStillMarkedOnce) {
  int a = 0, b = 0, c = 0;
  char s1[] = "x", s2[] = "y";
  char* array[] = {s1, s2};
  {
    GenFreer f(count_free);
    f.mark(&a);
    f.mark(&b);
    f.mark(&b);
    f.mark(&c);
    f.mark(nullptr);
    f.cancel(&c);
    f.markStringArray(array, 2);  // the strings and the array
    f.markStringArray(nullptr, 3);
    EXPECT_EQ(f.size(), 5);
    EXPECT_TRUE(freed.empty());
  }
  EXPECT_EQ(freed, (std::map<void*, int>{{&a, 1}, {&b, 1}, {s1, 1}, {s2, 1}, {array, 1}}));
  freed.clear();
  {
    GenFreer f(count_free);
    f.mark(&a);
    f.cancelAll();
    EXPECT_EQ(f.size(), 0);
  }
  EXPECT_TRUE(freed.empty());
}

}  // namespace
