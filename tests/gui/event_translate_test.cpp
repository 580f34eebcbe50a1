// The display-free translation rules: key codes from keysyms, the lone
// Alt/Meta release, click counting and typed-ahead gathering.
// gtest comes first: Xlib defines None, True and the like as macros.
#include <gtest/gtest.h>

#include "gui/x11/event_translate.h"

#include <X11/keysym.h>

namespace {

TEST(KeyCodes, FunctionKeysymsBecomeLowByteOr0x100) {
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Escape), 283);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Up), 338);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Down), 340);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Home), 336);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_End), 343);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Page_Up), 341);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Alt_L), WKEY_ALT_L);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Meta_R), WKEY_META_R);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Help), WKEY_HELP);
}

TEST(KeyCodes, Latin1IsItsOwnCodeAndOtherSetsAreDropped) {
  EXPECT_EQ(W_keyCodeOfKeysym(XK_a), 'a');
  EXPECT_EQ(W_keyCodeOfKeysym(XK_eacute), 0xE9);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_Greek_alpha), 0);
  EXPECT_EQ(W_keyCodeOfKeysym(XK_EuroSign), 0);
  EXPECT_EQ(W_keyCodeOfKeysym(NoSymbol), 0);
}

TEST(LoneModifier, AltAloneIsReportedOnRelease) {
  LoneModifierTracker t;
  t.keyPressed(WKEY_ALT_L);
  EXPECT_TRUE(t.keyReleased(WKEY_ALT_L));
  EXPECT_FALSE(t.keyReleased(WKEY_ALT_L));  // only once per press
  t.keyPressed(WKEY_META_L);
  EXPECT_TRUE(t.keyReleased(WKEY_META_L));
}

TEST(LoneModifier, AltWithAnotherKeyOrOtherReleasesGiveNothing) {
  LoneModifierTracker t;
  t.keyPressed(WKEY_ALT_L);
  t.keyPressed('x');
  EXPECT_FALSE(t.keyReleased('x'));
  EXPECT_FALSE(t.keyReleased(WKEY_ALT_L));
  t.keyPressed('a');
  EXPECT_FALSE(t.keyReleased('a'));
  t.keyPressed(0x1EA);  // Alt_R is not one of the lone keys
  EXPECT_FALSE(t.keyReleased(0x1EA));
}

TEST(Clicks, RepeatedPressesWithinTheIntervalCount) {
  ClickCounter c;
  EXPECT_EQ(c.press(1, 1, 1000, 10, 10), 1);
  EXPECT_EQ(c.press(1, 1, 1200, 11, 10), 2);
  EXPECT_EQ(c.press(1, 1, 1500, 11, 11), 3);
  EXPECT_EQ(c.current(), 3);
}

TEST(Clicks, AnotherButtonWindowPlaceOrLateStartsAgain) {
  ClickCounter c;
  c.press(1, 1, 1000, 10, 10);
  EXPECT_EQ(c.press(1, 3, 1100, 10, 10), 1);
  EXPECT_EQ(c.press(2, 3, 1200, 10, 10), 1);
  EXPECT_EQ(c.press(2, 3, 1300, 40, 10), 1);
  EXPECT_EQ(c.press(2, 3, 2000, 40, 10), 1);
  c.setIntervalMs(1000);
  EXPECT_EQ(c.press(2, 3, 2900, 40, 10), 2);
}

TEST(TypedAhead, OnlyPlainPrintableKeysGather) {
  EXPECT_TRUE(W_keyGathers('a', 0));
  EXPECT_TRUE(W_keyGathers('A', WMOD_SHIFT));
  EXPECT_FALSE(W_keyGathers('a', WMOD_CONTROL));
  EXPECT_FALSE(W_keyGathers('a', WMOD_ALT));
  EXPECT_FALSE(W_keyGathers(WKEY_RETURN, 0));
  EXPECT_FALSE(W_keyGathers(0x7F, 0));
}

}  // namespace
