// Delivery of event records to an item: the filter, the steal hook and the
// handler each type names.  No display is needed.
#include "gui/core/item.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Recording : public WWindowedItem {
 public:
  Recording() : WWindowedItem(nullptr, DrawRect{0, 0, 10, 10}, 0) {}
  explicit Recording(WWindowedItem* parent) : WWindowedItem(parent, DrawRect{0, 0, 5, 5}, 0) {}
  std::vector<std::string> calls;
  bool consume = true;
  bool record(const char* what) {
    calls.push_back(what);
    return consume;
  }
  bool handleExpose(int, int, int, int) override { return record("expose"); }
  bool handleShow() override { return record("show"); }
  bool handleHide() override { return record("hide"); }
  bool handleFocused() override { return record("focused"); }
  bool handleUnfocused() override { return record("unfocused"); }
  bool handleSelClear(xinLibSt*) override { return record("selclear"); }
  bool handleSelLines(xinLibSt*) override { return record("sellines"); }
  bool handleMessage(xinLibSt*) override { return record("message"); }
  bool handleMousePress(xinLibSt*) override { return record("press"); }
  bool handleMouseMotion(xinLibSt*) override { return record("motion"); }
  bool handleMouseRelease(xinLibSt*) override { return record("release"); }
  bool handleKey(xinLibSt*) override { return record("key"); }
  bool handleHelp(xinLibSt*) override { return record("help"); }
  bool handleMouseEnter(xinLibSt*) override { return record("enter"); }
  bool handleMouseLeave(xinLibSt*) override { return record("leave"); }
};

xinLibSt event(int type, int x = 0, int code = 0, int subKind = 0) {
  xinLibSt e;
  e.type = type, e.x = x, e.code = code, e.subKind = subKind;
  return e;
}

TEST(ItemDispatch, TypeChoosesTheHandler) {
  Recording r;
  std::vector<xinLibSt> events = {
      event(WEV_REPAINT),        event(WEV_MAP, 1),
      event(WEV_MAP, 0),         event(WEV_FOCUS, 1),
      event(WEV_FOCUS, 0),       event(WEV_SELECTION, 0, 0, WSEL_CLEAR),
      event(WEV_SELECTION, 0, 0, WSEL_LINES), event(WEV_MESSAGE),
      event(WEV_MOUSE, 0, WMOUSE_PRESS), event(WEV_MOUSE, 0, WMOUSE_MOTION),
      event(WEV_MOUSE, 0, WMOUSE_RELEASE), event(WEV_KEY),
      event(WEV_HELP),           event(WEV_CROSSING, 1),
      event(WEV_CROSSING, 0)};
  for (auto& e : events) EXPECT_EQ(r.EventParse(&e), 1);
  EXPECT_EQ(r.calls, (std::vector<std::string>{"expose", "show", "hide", "focused", "unfocused",
                                               "selclear", "sellines", "message", "press",
                                               "motion", "release", "key", "help", "enter",
                                               "leave"}));
}

TEST(ItemDispatch, UnknownTypesAndUnconsumedEventsAnswerZero) {
  Recording r;
  xinLibSt e = event(12);
  EXPECT_EQ(r.EventParse(&e), 0);
  e = event(WEV_NONE);
  EXPECT_EQ(r.EventParse(&e), 0);
  r.consume = false;
  e = event(WEV_KEY);
  EXPECT_EQ(r.EventParse(&e), 0);
  EXPECT_EQ(r.calls, (std::vector<std::string>{"key"}));
}

TEST(ItemDispatch, StealHookIsAskedFirst) {
  Recording r;
  static int asked;
  asked = 0;
  r.setEventStealHook([](xinLibSt* e, WWindowedItem*) {
    asked++;
    return e->type == WEV_MOUSE;
  });
  xinLibSt mouse = event(WEV_MOUSE, 0, WMOUSE_PRESS), key = event(WEV_KEY);
  EXPECT_EQ(r.EventParse(&mouse), 1);
  EXPECT_EQ(r.EventParse(&key), 1);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(r.calls, (std::vector<std::string>{"key"}));
}

TEST(ItemDispatch, FilterComesBeforeTheHookWithItsOwnData) {
  Recording r;
  static std::vector<std::string> order;
  order.clear();
  int data = 42;
  r.setEventStealHook([](xinLibSt*, WWindowedItem*) {
    order.push_back("hook");
    return false;
  });
  r.setEventFilter(
      [](xinLibSt* e, WWindowedItem*, void* d) {
        order.push_back("filter" + std::to_string(*static_cast<int*>(d)));
        return e->type == WEV_KEY;
      },
      &data);
  xinLibSt key = event(WEV_KEY), help = event(WEV_HELP);
  EXPECT_EQ(r.EventParse(&key), 1);
  EXPECT_EQ(r.EventParse(&help), 1);
  EXPECT_EQ(order, (std::vector<std::string>{"filter42", "filter42", "hook"}));
  EXPECT_EQ(r.calls, (std::vector<std::string>{"help"}));
}

TEST(ItemTree, ParentsOwnChildrenAndTokensTellDeletion) {
  auto* parent = new Recording();
  auto* child = new Recording(parent);
  auto* grandchild = new Recording(child);
  EXPECT_EQ(child->getParent(), parent);
  ASSERT_EQ(parent->getChildren().size(), 1u);
  auto token = grandchild->aliveToken();
  delete child;
  EXPECT_TRUE(token.expired() || !*token.lock());
  EXPECT_TRUE(parent->getChildren().empty());
  EXPECT_EQ(parent->getTopLevel(), nullptr);  // not a top-level window
  delete parent;
}

}  // namespace
