// Alerts, button dialogues and the text prompt on a real X server, driven
// from a timer while their nested loops wait: the message shown, OK, Enter,
// Escape and the close button, named buttons, typed answers, and input to
// the program's other windows refused with the bell while a dialog is up.
#include "lists_test_util.h"

#include <X11/XKBlib.h>

#include "base/gen.h"
#include "gui/core/pixels.h"
#include "gui/core/popup.h"
#include "gui/core/window_registry.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/widgets/dialog.h"
#include "gui/widgets/prompt.h"
#include "gui/widgets/text_field.h"

using namespace lists_test;

namespace {

std::string titleOf(WindowId w) {
  char* name = nullptr;
  std::string out = XFetchName(XSession::otherDisplay(), w, &name) && name ? name : "";
  if (name) XFree(name);
  return out;
}

WDialogText* textOf(WDialog* d) {
  for (WWindowedItem* c : d->window()->getChildren())
    if (auto* t = dynamic_cast<WDialogText*>(c)) return t;
  return nullptr;
}

TextField* fieldOf(WDialog* d) {
  for (WWindowedItem* c : d->window()->getChildren())
    if (auto* f = dynamic_cast<TextField*>(c)) return f;
  return nullptr;
}

// Windows of the root from bottom to top.
std::vector<Window> stacking() {
  Display* d = XSession::otherDisplay();
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  std::vector<Window> out;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) out.assign(children, children + n);
  if (children) XFree(children);
  return out;
}

bool above(WindowId a, WindowId b) {
  std::vector<Window> s = stacking();
  auto ia = std::find(s.begin(), s.end(), a), ib = std::find(s.begin(), s.end(), b);
  return ia != s.end() && ib != s.end() && ia > ib;
}

// A pane of the main window that records what reaches it.
class Pane : public WWindowedItem {
 public:
  explicit Pane(WWindowedItem* parent) : WWindowedItem(parent, DrawRect{0, 0, 200, 100}, bg_pixel) {}
  int presses = 0, keys = 0;
  bool handleMousePress(xinLibSt*) override { return ++presses; }
  bool handleKey(xinLibSt*) override { return ++keys; }
};

class DialogX11 : public XSession {
 protected:
  // Focuses the innermost dialog and sends it keys.
  static bool keysToDialog(const std::vector<std::string>& names) {
    WDialog* d = shownDialog();
    if (!d) return false;
    std::vector<std::string> args{"key"};
    args.insert(args.end(), names.begin(), names.end());
    return xdotool({"windowfocus", "--sync", id(d->window())}) == 0 && xdotool(args) == 0;
  }
  static bool typeToDialog(const std::string& text) {
    WDialog* d = shownDialog();
    return d && xdotool({"windowfocus", "--sync", id(d->window())}) == 0 &&
           xdotool({"type", "--delay", "5", text}) == 0;
  }
  static bool clickButton(int index) {
    WDialog* d = shownDialog();
    WButton* b = d ? d->button(index) : nullptr;
    return b && xdotool({"mousemove", "--window", id(b), "5", "5", "click", "1"}) == 0;
  }
};

using Alerts = DialogX11;
using ButtonDialogs = DialogX11;
using Prompts = DialogX11;
using ModalInput = DialogX11;

TEST_F(Alerts, ShowTheMessageAndGoWithOK) {
  ColWind* main = openWindow("main", 400, 300);
  ASSERT_NE(main, nullptr);
  std::vector<std::string> lines;
  std::string title;
  int ink = 0;
  WindowId alertWindow = 0;
  Script script({
      [&] {
        WDialog* d = shownDialog();
        if (!d || !textOf(d)) return false;
        alertWindow = d->window()->getWindow();
        title = titleOf(alertWindow);
        lines = textOf(d)->lines();
        WDialogText* t = textOf(d);
        ink = inkIn(t->getWindow(), 0, 0, t->getWidth(), t->getHeight(), t->getBackground());
        return ink > 0;
      },
      [&] { return clickButton(0); },
  });
  gui_Alert(main, "No such Left file: /tmp/x\nsecond line");
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(title, "Alert");
  EXPECT_EQ(lines, (std::vector<std::string>{"No such Left file: /tmp/x", "second line"}));
  EXPECT_GT(ink, 0);
  EXPECT_EQ(WDialog::current(), nullptr);
  EXPECT_EQ(gui_getModalWindow(), nullptr);
  EXPECT_EQ(cwFromWindow(alertWindow), nullptr);  // the alert's window is gone
  EXPECT_EQ(cwCount(), 1);
}

TEST_F(Alerts, EnterEscapeAndTheCloseButtonDismiss) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  for (const char* key : {"Return", "Escape"}) {
    Script script({[&] { return keysToDialog({key}); }});
    gui_AlertTitled(main, "Problem", "Selection has never changed.");
    EXPECT_TRUE(script.finished()) << key;
  }
  Script closer({[] {
    WDialog* d = shownDialog();
    if (!d) return false;
    Display* o = XSession::otherDisplay();
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = d->window()->getWindow();
    e.xclient.message_type = XInternAtom(o, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(o, "WM_DELETE_WINDOW", False));
    XSendEvent(o, e.xclient.window, False, NoEventMask, &e);
    XFlush(o);
    return true;
  }});
  gui_Alert(nullptr, "closed by the window manager");
  EXPECT_TRUE(closer.finished());
  EXPECT_EQ(cwCount(), 1);
}

TEST_F(ButtonDialogs, AnswerTheChosenButtonsIndex) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  std::vector<std::string> labels{"Continue", "Terminate"};
  std::string second;
  {
    Script script({[&] {
      WDialog* d = shownDialog();
      if (!d || !d->button(1)) return false;
      second = d->button(1)->getLabel();
      return clickButton(1);
    }});
    EXPECT_EQ(gui_ButtonDialog(main, "Terminate Connection", "The service is busy.", labels, 0, 0), 1);
    EXPECT_EQ(second, "Terminate");
  }
  {
    Script script({[&] { return keysToDialog({"Return"}); }});
    EXPECT_EQ(gui_ButtonDialog(main, "Terminate Connection", "Busy.", labels, 1, 0), 1);
  }
  {
    Script script({[&] { return keysToDialog({"Escape"}); }});
    EXPECT_EQ(gui_ButtonDialog(main, "Terminate Connection", "Busy.", labels, 1, 7), 7);
  }
  EXPECT_EQ(gui_ButtonDialog(main, "Nothing", "no buttons", {}, 0, 3), 3);
}

TEST_F(Prompts, TypedAnswersAndCancel) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  std::string prompt, initial;
  {
    Script script({
        [&] {
          WDialog* d = shownDialog();
          if (!d || !fieldOf(d)) return false;
          prompt = textOf(d)->lines()[0];
          initial = fieldOf(d)->rawText();
          return typeToDialog("  1.5 ");  // replaces the selected initial text
        },
        [&] { return fieldOf(shownDialog())->rawText() == "  1.5 " && keysToDialog({"Return"}); },
    });
    char* answer = gui_Prompt(main, "Choose Version", "Version for foo.c", "1.2");
    ASSERT_NE(answer, nullptr);
    EXPECT_STREQ(answer, "1.5");
    gen_free(answer);
    EXPECT_EQ(prompt, "Version for foo.c");
    EXPECT_EQ(initial, "1.2");
  }
  {
    Script script({[&] { return clickButton(0); }});  // OK keeps the initial value
    char* answer = gui_Prompt(main, "Choose Version", "Version for foo.c", "1.2");
    ASSERT_NE(answer, nullptr);
    EXPECT_STREQ(answer, "1.2");
    gen_free(answer);
  }
  {
    Script script({[&] { return typeToDialog("2.0"); }, [&] { return clickButton(1); }});
    EXPECT_EQ(gui_Prompt(main, "Choose Version", "Version", "1.2"), nullptr);
  }
  {
    Script script({[&] { return keysToDialog({"Escape"}); }});
    EXPECT_EQ(gui_Prompt(main, "Choose Version", "Version", nullptr), nullptr);
  }
}

// Counts the bells the server rang since the last call.
class BellCounter {
 public:
  BellCounter() {
    Display* d = XSession::otherDisplay();
    int opcode, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    ok_ = XkbQueryExtension(d, &opcode, &base_, &error, &major, &minor) &&
          XkbSelectEvents(d, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    count();
  }
  ~BellCounter() { XkbSelectEvents(XSession::otherDisplay(), XkbUseCoreKbd, XkbBellNotifyMask, 0); }
  bool ok() const { return ok_; }
  int count() {
    Display* d = XSession::otherDisplay();
    XSync(d, False);
    int n = 0;
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      n += e.type == base_ && reinterpret_cast<XkbAnyEvent*>(&e)->xkb_type == XkbBellNotify;
    }
    return n;
  }

 private:
  bool ok_ = false;
  int base_ = 0;
};

TEST_F(ModalInput, OtherWindowsRingTheBellAndRaiseTheDialog) {
  ColWind* main = openWindow("main", 300, 200);
  ASSERT_NE(main, nullptr);
  Pane* pane = new Pane(main);
  pane->activateMe();
  BellCounter bells;
  ASSERT_TRUE(bells.ok());
  WindowId dialogWindow = 0;
  int rung = 0;
  Script script({
      [&] {
        WDialog* d = shownDialog();
        if (!d) return false;
        dialogWindow = d->window()->getWindow();
        XLowerWindow(XSession::otherDisplay(), dialogWindow);  // hidden under main
        XSync(XSession::otherDisplay(), False);
        return !above(dialogWindow, main->getWindow());
      },
      [&] {
        return xdotool({"mousemove", "--window", id(pane), "20", "20", "click", "1"}) == 0 &&
               xdotool({"windowfocus", "--sync", id(main)}) == 0 &&
               xdotool({"key", "a"}) == 0;
      },
      [&] {
        rung += bells.count();
        return rung >= 2 && above(dialogWindow, main->getWindow());
      },
      [&] { return keysToDialog({"Escape"}); },
  });
  gui_Alert(main, "Busy.");
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(rung, 2);  // one for the press, one for the key
  EXPECT_EQ(pane->presses, 0);
  EXPECT_EQ(pane->keys, 0);
  // With the dialog gone the window takes input again, without a bell.
  ASSERT_EQ(xdotool({"mousemove", "--window", id(pane), "30", "30", "click", "1"}), 0);
  ASSERT_TRUE(waitFor([pane] { return pane->presses == 1; }));
  EXPECT_EQ(bells.count(), 0);
}

// A popup (a menu the dialog opens) takes its clicks while the dialog is
// modal; the rest of the program still does not.
TEST_F(ModalInput, PopupsOpenedDuringTheDialogTakeTheirInput) {
  ColWind* main = openWindow("main", 300, 200);
  ASSERT_NE(main, nullptr);
  struct Recorder : WWindowedItem {
    Recorder(WWindowedItem* parent) : WWindowedItem(parent, DrawRect{0, 0, 80, 40}, bg_pixel) {}
    int presses = 0;
    bool handleMousePress(xinLibSt*) override { return ++presses; }
  };
  auto popup = std::make_unique<WPopup>(DrawRect{50, 50, 80, 40}, bg_pixel);
  auto* recorder = new Recorder(popup.get());
  Script script({
      [&] {
        if (!shownDialog()) return false;
        popup->popUp(DrawRect{50, 50, 80, 40});
        return true;
      },
      [&] {
        return xdotool({"mousemove", "--window", id(recorder), "10", "10", "click", "1"}) == 0;
      },
      [&] { return recorder->presses == 1; },
      [&] {
        popup->popDown();
        return keysToDialog({"Escape"});
      },
  });
  gui_Alert(main, "Busy.");
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(recorder->presses, 1);
}

TEST_F(ModalInput, NestedDialogsRestoreTheOuterOne) {
  ColWind* main = openWindow("main");
  ASSERT_NE(main, nullptr);
  // An outer dialog whose button opens an alert over it.
  struct Outer : WDialog {
    Outer(ColWind* p) : WDialog(p, "outer", "Outer", 300, 120) { addButtonRow({"Alert", "Done"}); }
    ColWind* modalAfterAlert = nullptr;
    void buttonChosen(int index) override {
      if (index == 1) return finish(1);
      gui_Alert(window(), "inner");
      modalAfterAlert = gui_getModalWindow();
    }
  } outer(main);
  WDialog* inner = nullptr;
  Script script({
      [&] { return shownDialog() == &outer && clickButton(0); },
      [&] {
        inner = shownDialog();
        return inner && inner != &outer && gui_getModalWindow() == inner->window();
      },
      [&] { return keysToDialog({"Return"}); },
      [&] { return shownDialog() == &outer && gui_getModalWindow() == outer.window(); },
      [&] { return clickButton(1); },
  });
  EXPECT_EQ(outer.run(), 1);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(outer.modalAfterAlert, outer.window());
  EXPECT_EQ(gui_getModalWindow(), nullptr);
}

}  // namespace
