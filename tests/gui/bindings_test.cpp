// Binding texts of the toolkit's windows.
#include "gui/core/bindings.h"

#include <gtest/gtest.h>

#include "gui/x11/event.h"

namespace {

TEST(Bindings, MouseBindingParts) {
  WBinding b;
  ASSERT_TRUE(W_parseBinding("Mouse1*Press1(AtOnce)@Menu=MenuGlyph", &b));
  EXPECT_TRUE(b.mouse);
  EXPECT_EQ(b.button, 1);
  EXPECT_TRUE(b.onPress);
  EXPECT_EQ(b.count, 1);
  EXPECT_EQ(b.options, "AtOnce");
  EXPECT_EQ(b.place, "Menu");
  EXPECT_EQ(b.command, "MenuGlyph");
  ASSERT_TRUE(W_parseBinding("Mouse3*Release2@Close=Close", &b));
  EXPECT_FALSE(b.onPress);
  EXPECT_EQ(b.button, 3);
  EXPECT_EQ(b.count, 2);
}

TEST(Bindings, KeyBindingParts) {
  WBinding b;
  ASSERT_TRUE(W_parseBinding("q|Control=Close", &b));
  EXPECT_FALSE(b.mouse);
  EXPECT_EQ(b.key, "q");
  EXPECT_EQ(b.modifiers, static_cast<unsigned>(WMOD_CONTROL));
  ASSERT_TRUE(W_parseBinding("x|Control|Shift=Cut", &b));
  EXPECT_EQ(b.modifiers, static_cast<unsigned>(WMOD_CONTROL | WMOD_SHIFT));
}

TEST(Bindings, MalformedTextsAreRefusedAndLeaveTheRecord) {
  const char* bad[] = {nullptr,       "",          "=Close",           "q|Control=",
                       "q|Hyper=Close", "Mouse9*Release1@X=Y", "Mouse1*Hold1@X=Y",
                       "Mouse1*Release@X=Y", "Mouse1*Release1(AtOnce@X=Y", "Mouse1*Release1@=Y",
                       "Close"};
  for (const char* text : bad) {
    WBinding b;
    b.command = "untouched";
    EXPECT_FALSE(W_parseBinding(text, &b)) << (text ? text : "(null)");
    EXPECT_EQ(b.command, "untouched");
  }
}

TEST(Bindings, DefaultsParseAndBindControlQToClose) {
  W_clearBindings();
  EXPECT_EQ(W_keyCommand('q', WMOD_CONTROL), nullptr);
  ASSERT_TRUE(W_defaultWindowBindings());
  EXPECT_EQ(W_windowBindings().size(), 7u);
  ASSERT_NE(W_keyCommand('q', WMOD_CONTROL), nullptr);
  EXPECT_STREQ(W_keyCommand('q', WMOD_CONTROL), "Close");
  EXPECT_STREQ(W_keyCommand('p', WMOD_CONTROL | WMOD_LOCK), "Print");
  EXPECT_EQ(W_keyCommand('q', 0), nullptr);
  EXPECT_EQ(W_keyCommand('q', WMOD_CONTROL | WMOD_SHIFT), nullptr);
}

}  // namespace
