// Text fields: the editing model (characters of several bytes, stray bytes,
// selections, trimming); on the program's Xvfb editing keys, Enter,
// read-only and dimmed fields, PRIMARY and CLIPBOARD, pastes from another
// client (UTF-8 or only Latin-1), long texts, and file-name completion.
#include "widget_util.h"  // gtest before Xlib

#include <X11/Xatom.h>

#include <filesystem>
#include <fstream>

#include "gui/core/pixels.h"
#include "gui/widgets/text_field.h"
#include "gui/widgets/text_field_model.h"
#include "gui/x11/selection.h"

namespace {

TEST(TextFieldModel, CharactersOfSeveralBytesAndStrayBytesMoveAndDeleteAsOne) {
  TextFieldModel m;
  m.setText("a\xc3\xa9\xf0\x9f\x98\x80z");  // a, e acute, an emoji, z
  m.moveLeft(false);
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 3u);  // over four bytes at once
  EXPECT_TRUE(m.deleteBackward());
  EXPECT_EQ(m.text(), "a\xf0\x9f\x98\x80z");
  m.moveTo(2, false);  // inside the emoji: back to its start
  EXPECT_EQ(m.caret(), 1u);
  m.moveTo(0, false);
  EXPECT_FALSE(m.deleteBackward());
  for (auto [bytes, length] : {std::pair{"\xff", 1u}, {"\xc3", 1u}, {"\xc0\x80", 1u}, {"\xe2\x82\xac", 3u}})
    EXPECT_EQ(tf_charLength(bytes, 0), length) << bytes;
  EXPECT_EQ(tf_displayable("a\xff" "b"), "a\xEF\xBF\xBD" "b");
  m.setText("\xa9\xa9\xc3\xa9");  // two stray continuation bytes, then e acute
  m.moveLeft(false);
  m.moveLeft(false);
  EXPECT_EQ(m.caret(), 1u);
}

TEST(TextFieldModel, SelectionsWordsAndPastedControlCharacters) {
  TextFieldModel m;
  m.setText("hello world");
  m.select(6, 11);
  m.insert("there");
  EXPECT_EQ(m.text(), "hello there");
  m.select(8, 2);  // backwards
  m.moveRight(false);  // collapses to the end of the selection
  EXPECT_EQ(m.caret(), 8u);
  m.moveTo(0, true);
  EXPECT_EQ(m.selectedText(), "hello th");
  m.setText("/usr/lib/file-name.c");
  m.selectWordAt(12);
  EXPECT_EQ(m.selectedText(), "file-name.c");
  EXPECT_EQ(tf_oneLine("a\tb\x01" "c\x7f"), "a bc");  // pasted control characters
}

// Another X client that owns a selection and answers for it, in UTF-8 or
// (when it knows no better) only as Latin-1 STRING.
class OtherOwner {
 public:
  OtherOwner(const char* selection, std::string text, bool utf8) : text_(std::move(text)), utf8_(utf8) {
    w_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d_, XInternAtom(d_, selection, False), w_, CurrentTime);
    XSync(d_, False);
  }
  ~OtherOwner() { XDestroyWindow(d_, w_); }
  void serve() {  // answers the requests that have arrived
    for (XEvent e; XPending(d_);) {
      XNextEvent(d_, &e);
      if (e.type != SelectionRequest) continue;
      const XSelectionRequestEvent& r = e.xselectionrequest;
      requests++;
      XSelectionEvent reply{SelectionNotify, 0, False, d_, r.requestor, r.selection, r.target, None, r.time};
      if ((utf8_ && r.target == XInternAtom(d_, "UTF8_STRING", False)) || r.target == XA_STRING) {
        XChangeProperty(d_, r.requestor, r.property, r.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text_.data()), int(text_.size()));
        reply.property = r.property;
      }
      XSendEvent(d_, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
      XFlush(d_);
    }
  }
  int requests = 0;

 private:
  Display* d_ = xtest::display();
  Window w_;
  std::string text_;
  bool utf8_;
};

class TextFields : public GuiSession {
 protected:
  // A window with one field that has the keyboard.
  TextField* typingField(bool editable = true) {
    window = openWindow("fields", 400, 120);
    auto* f = new TextField(window, DrawRect{10, 10, 300, TextField::preferredHeight()}, editable);
    f->activateMe();
    return f;
  }
  // Keys, then typed text, to the field's window.
  void input(const std::vector<std::string>& names, const std::string& typed = "") {
    std::vector<std::string> args{"windowfocus", "--sync", id(window)};
    if (!names.empty()) args.insert(args.end(), {"key", "--delay", "0"});
    args.insert(args.end(), names.begin(), names.end());
    if (!typed.empty()) args.insert(args.end(), {"type", "--delay", "0", typed});
    ASSERT_EQ(xdotool(args), 0);
    drain();
  }
  ColWind* window = nullptr;
};

TEST_F(TextFields, EditingKeysWorkOnWholeCharacters) {
  TextField* f = typingField();
  const struct {
    std::string start;
    std::vector<std::string> keys;
    std::string typed, want;
  } edits[] = {
      {"", {}, "hello world", "hello world"},
      {"hello world", {"Left", "Left", "Left", "Left", "Left", "BackSpace"}, "", "helloworld"},
      {"helloworld", {"Home", "Delete", "End", "exclam"}, "", "elloworld!"},
      {"elloworld!", {"shift+Home"}, "X", "X"},  // a selection is replaced by what is typed
      {"X", {"ctrl+a", "BackSpace"}, "", ""},
      {"a\xff\xfe" "b\xc3\xa9", {"End", "BackSpace"}, "", "a\xff\xfe" "b"},
      {"a\xff\xfe" "b", {"Left", "Left", "BackSpace"}, "z", "az\xfe" "b"},
  };
  for (const auto& e : edits) {
    f->setText(e.start.c_str());
    input(e.keys, e.typed);
    EXPECT_EQ(f->rawText(), e.want) << e.start;
  }
}

int enters;
std::string entered;

TEST_F(TextFields, EnterCallsBackWithTheTrimmedTextAndDimmedFieldsIgnoreInput) {
  TextField* f = typingField();
  f->setTrimSpaces(true);
  f->setEnterCallback([](TextField* t) { enters++, entered = t->getText(); });
  enters = 0;
  input({}, "  name  ");
  input({"BackSpace", "Return"});
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(entered, "name");
  f->setText("programmatic");
  f->setDimmed(true);
  input({"BackSpace"}, "xyz");
  ASSERT_EQ(click(f, 20, 10, 2), 0);
  drain();
  EXPECT_EQ(f->rawText(), "programmatic");
}

TEST_F(TextFields, ReadOnlyFieldsRefuseTypingButCopyToTheClipboard) {
  TextField* f = typingField(false);
  f->setText("/some/full/name.c");
  input({"BackSpace", "Delete", "ctrl+v"}, "abc");
  EXPECT_EQ(f->rawText(), "/some/full/name.c");
  input({"ctrl+a", "ctrl+c"});
  ASSERT_NE(selectionOwner_text(true), nullptr);
  EXPECT_EQ(*selectionOwner_text(true), "/some/full/name.c");
  EXPECT_EQ(XGetSelectionOwner(other(), XInternAtom(other(), "CLIPBOARD", False)), f->getWindow());
  // A click gives another field the keys; Control+V pastes there.
  auto* g = new TextField(window, DrawRect{10, 50, 300, TextField::preferredHeight()});
  ASSERT_EQ(click(g, 50, 10), 0);
  input({"ctrl+v"});
  EXPECT_TRUE(waitFor([&] { return g->rawText() == "/some/full/name.c"; }));
}

TEST_F(TextFields, MouseSelectionsArePrimaryAndPastesComeFromOtherClients) {
  TextField* f = typingField();
  f->setText("selected words here");
  ASSERT_EQ(xdotool({"mousemove", "--window", id(f), "5", "10", "mousedown", "1", "mousemove",
                     "--window", id(f), "80", "10", "mouseup", "1"}), 0);
  drain();
  ASSERT_FALSE(f->selectedText().empty());
  EXPECT_EQ(f->selectedText(), f->rawText().substr(0, f->selectedText().size()));
  ASSERT_NE(selectionOwner_text(false), nullptr);
  EXPECT_EQ(*selectionOwner_text(false), f->selectedText());
  EXPECT_EQ(XGetSelectionOwner(other(), XA_PRIMARY), f->getWindow());
  {
    OtherOwner elsewhere("PRIMARY", "pasted\nsecond line", true);
    ASSERT_TRUE(waitFor([&] { return f->selectedText().empty(); })) << "another client selected";
    f->setText("");
    ASSERT_EQ(click(f, 200, 10, 2), 0);  // past the end of the empty text
    EXPECT_TRUE(waitFor([&] {
      elsewhere.serve();
      return f->rawText() == "pasted";  // one line of it
    }));
  }
  OtherOwner latin("CLIPBOARD", "caf\xe9", false);  // asked again for STRING
  input({"ctrl+v"});
  EXPECT_TRUE(waitFor([&] {
    latin.serve();
    return f->rawText() == "pastedcaf\xc3\xa9";
  }));
  EXPECT_EQ(latin.requests, 2);
}

TEST_F(TextFields, LongTextsScrollToTheCaret) {
  TextField* f = typingField();
  f->setText(std::string(20000, 'm').c_str());
  EXPECT_GT(f->scrollOffset(), 10000);  // the end, where the caret is, shows
  input({"Home"}, "a");
  EXPECT_EQ(f->scrollOffset(), 0);
  EXPECT_EQ(f->rawText().substr(0, 2), "am");
  input({"End"});
  EXPECT_GT(f->scrollOffset(), 10000);
  EXPECT_GT(xtest::inkIn(f->getWindow(), {f->getWidth() - 40, 4, 30, f->getHeight() - 8}, bg_pixel), 0);
}

TEST_F(TextFields, FileNamesCompleteWithTheAdditionSelected) {
  std::string dir = std::filesystem::temp_directory_path() / ("complete-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir + "/alphabet");
  for (const char* name : {"alpha.txt", "beta.c", "gamma1", "gamma2", ".hidden"})
    std::ofstream(dir + "/" + name) << "x";
  TextField* f = typingField();
  tf_AutoCompleteFile(f, true);
  f->setText((dir + "/").c_str());
  input({}, "b");
  EXPECT_EQ(f->rawText(), dir + "/beta.c");
  EXPECT_EQ(f->selectedText(), "eta.c");
  input({}, "x");  // typing on replaces the completion; nothing matches now
  EXPECT_EQ(f->rawText(), dir + "/bx");
  f->setText((dir + "/").c_str());
  input({}, "g");  // ambiguous: the common part
  EXPECT_EQ(f->rawText(), dir + "/gamma");
  input({"Tab"}, "2");  // Tab accepts it
  EXPECT_EQ(f->rawText(), dir + "/gamma2");
  f->setText((dir + "/alphab").c_str());
  input({}, "e");  // a lone directory gets its slash
  EXPECT_EQ(f->rawText(), dir + "/alphabet/");
  EXPECT_EQ(tf_completeFileName(dir + "/.h"), "idden");
  EXPECT_EQ(tf_completeFileName(dir + "/h"), "");  // dot files need a dot
  EXPECT_EQ(tf_completeFileName("/no/such/dir/x"), "");
  std::string home = getenv("HOME");
  setenv("HOME", dir.c_str(), 1);
  EXPECT_EQ(tf_completeFileName("~/be"), "ta.c");
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(tf_completeFileName(dir + "/gam", 5), "") << "a scan capped at five entries gives up";
  std::filesystem::remove_all(dir);
}

}  // namespace
