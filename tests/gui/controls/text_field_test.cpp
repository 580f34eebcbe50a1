// Text fields on a real X server: typing and the editing keys, trimming and
// Enter, read-only and dimmed fields, selection by mouse as PRIMARY, copy
// and paste within the process and from another client, file-name
// completion against a scratch directory, long texts and invalid UTF-8.
#include <X11/Xatom.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "controls_util.h"
#include "gui/core/pixels.h"
#include "gui/widgets/text_field.h"
#include "gui/x11/selection.h"

namespace {

using controls::id;

// Another X client that owns a selection and answers requests for it, in
// UTF-8 or (when it knows no better) only as Latin-1 STRING.
class OtherOwner {
 public:
  OtherOwner(const char* selection, std::string text, bool utf8)
      : d_(XSession::otherDisplay()), text_(std::move(text)), utf8_(utf8) {
    selection_ = XInternAtom(d_, selection, False);
    w_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d_, selection_, w_, CurrentTime);
    XSync(d_, False);
  }
  ~OtherOwner() {
    XDestroyWindow(d_, w_);
    XSync(d_, False);
  }
  // Answers the requests that have arrived; call it while waiting.
  void serve() {
    while (XPending(d_)) {
      XEvent e;
      XNextEvent(d_, &e);
      if (e.type == SelectionRequest) answer(e.xselectionrequest);
    }
  }
  int requests = 0;

 private:
  void answer(const XSelectionRequestEvent& r) {
    requests++;
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = r.requestor, reply.selection = r.selection;
    reply.target = r.target, reply.time = r.time, reply.property = None;
    bool asUtf8 = r.target == XInternAtom(d_, "UTF8_STRING", False);
    if ((asUtf8 && utf8_) || r.target == XA_STRING) {
      XChangeProperty(d_, r.requestor, r.property, r.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(text_.data()),
                      static_cast<int>(text_.size()));
      reply.property = r.property;
    }
    XSendEvent(d_, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(d_);
  }
  Display* d_;
  Window w_;
  Atom selection_;
  std::string text_;
  bool utf8_;
};

int enters, changes;
std::string enteredText;

class TextFields : public ControlsTest {
 protected:
  // A window with one field that has the keyboard.
  TextField* typingField(bool editable = true) {
    window_ = openWindow("fields", 400, 120);
    auto* f = new TextField(window_, DrawRect{10, 10, 300, TextField::preferredHeight()}, editable);
    f->activateMe();
    focus(window_);
    enters = changes = 0;
    return f;
  }
  void type(const std::string& text) { ASSERT_EQ(xdotool({"type", "--delay", "0", text}), 0); }
  void keys(const std::vector<std::string>& names) {
    std::vector<std::string> args{"key", "--delay", "0"};
    args.insert(args.end(), names.begin(), names.end());
    ASSERT_EQ(xdotool(args), 0);
  }
  static bool textIs(TextField* f, const std::string& want) {
    return waitFor([&] { return f->rawText() == want; });
  }
  ColWind* window_ = nullptr;
};

TEST_F(TextFields, TypingAndTheEditingKeys) {
  TextField* f = typingField();
  type("hello world");
  ASSERT_TRUE(textIs(f, "hello world"));
  keys({"Left", "Left", "Left", "Left", "Left", "BackSpace"});
  ASSERT_TRUE(textIs(f, "helloworld"));
  keys({"Home", "Delete", "End", "exclam"});
  ASSERT_TRUE(textIs(f, "elloworld!"));
  keys({"shift+Home", "X"});  // a selection is replaced by what is typed
  ASSERT_TRUE(textIs(f, "X"));
  keys({"ctrl+a", "BackSpace"});
  ASSERT_TRUE(textIs(f, ""));
}

TEST_F(TextFields, TrimmingEnterAndChangeCallbacks) {
  TextField* f = typingField();
  f->setTrimSpaces(true);
  f->setEnterCallback([](TextField* t) {
    enters++;
    enteredText = t->getText();
  });
  f->setChangeCallback([](TextField*) { changes++; });
  type("  name  ");
  ASSERT_TRUE(textIs(f, "  name  "));
  keys({"Return"});
  ASSERT_TRUE(waitFor([] { return enters == 1; }));
  EXPECT_EQ(enteredText, "name");
  // Once per delivery: keys typed quickly arrive together.
  EXPECT_GE(changes, 1);
  EXPECT_LE(changes, 8);
  int before = changes;
  keys({"BackSpace"});
  ASSERT_TRUE(waitFor([&] { return changes == before + 1; }));
  f->setTrimSpaces(false);
  EXPECT_EQ(f->getText(), "  name ");
  f->setText("programmatic");  // not the user: no change callback
  settle(50);
  EXPECT_EQ(changes, before + 1);
}

TEST_F(TextFields, ReadOnlyFieldsRefuseTypingButCopy) {
  TextField* f = typingField(false);
  f->setText("/some/full/name.c");
  f->setToolTip("/some/full/name.c");
  type("abc");
  keys({"BackSpace", "Delete", "ctrl+v"});
  settle(150);
  EXPECT_EQ(f->rawText(), "/some/full/name.c");
  keys({"ctrl+a", "ctrl+c"});
  ASSERT_TRUE(waitFor([&] {
    const std::string* c = selectionOwner_text(true);
    return c && *c == "/some/full/name.c";
  }));
  EXPECT_EQ(XGetSelectionOwner(otherDisplay(), XInternAtom(otherDisplay(), "CLIPBOARD", False)),
            f->getWindow());
  // Another field of the process pastes it with Control+V.
  auto* g = new TextField(window_, DrawRect{10, 50, 300, TextField::preferredHeight()});
  g->activateMe();
  keys({"ctrl+v"});
  ASSERT_TRUE(textIs(g, "/some/full/name.c"));
}

TEST_F(TextFields, ClickingAFieldMovesTheCaretThere) {
  TextField* f = typingField();
  auto* g = new TextField(window_, DrawRect{10, 50, 300, TextField::preferredHeight()});
  int mid = f->getHeight() / 2, x = TextField::kMargin;
  ASSERT_TRUE(waitFor([&] { return controls::pixelAt(f->getWindow(), x, mid) == fg_pixel; }));
  EXPECT_EQ(controls::pixelAt(g->getWindow(), x, mid), bg_pixel);
  click(g, 50, mid);
  ASSERT_TRUE(waitFor([&] { return controls::pixelAt(g->getWindow(), x, mid) == fg_pixel; }));
  ASSERT_TRUE(waitFor([&] { return controls::pixelAt(f->getWindow(), x, mid) == bg_pixel; }));
  type("k");
  ASSERT_TRUE(textIs(g, "k"));
  EXPECT_EQ(f->rawText(), "");
}

TEST_F(TextFields, DimmedFieldsIgnoreInput) {
  TextField* f = typingField();
  f->setText("keep");
  f->setDimmed(true);
  type("xyz");
  keys({"BackSpace"});
  click(f, 20, 10, 2);
  settle(150);
  EXPECT_EQ(f->rawText(), "keep");
}

TEST_F(TextFields, MouseSelectionBecomesPrimaryAndGoesWhenAnotherClientSelects) {
  TextField* f = typingField();
  f->setText("selected words here");
  settle(50);
  ASSERT_EQ(xdotool({"mousemove", "--window", id(f), "5", "10", "mousedown", "1", "mousemove",
                     "--window", id(f), "80", "10", "mouseup", "1"}),
            0);
  ASSERT_TRUE(waitFor([&] { return !f->selectedText().empty() && selectionOwner_text(false); }));
  EXPECT_EQ(f->selectedText(), f->rawText().substr(0, f->selectedText().size()));
  EXPECT_EQ(*selectionOwner_text(false), f->selectedText());
  EXPECT_EQ(XGetSelectionOwner(otherDisplay(), XA_PRIMARY), f->getWindow());

  OtherOwner other("PRIMARY", "elsewhere", true);
  ASSERT_TRUE(waitFor([&] { return f->selectedText().empty(); }));
  EXPECT_EQ(f->rawText(), "selected words here");
}

TEST_F(TextFields, MiddleClickPastesPrimaryFromAnotherClient) {
  TextField* f = typingField();
  OtherOwner other("PRIMARY", "pasted\nsecond line", true);
  click(f, 200, 10, 2);  // past the end of the empty text
  ASSERT_TRUE(waitFor([&] {
    other.serve();
    return f->rawText() == "pasted";  // one line of it
  }));
  // An owner that speaks only Latin-1 is asked again for STRING.
  OtherOwner latin("CLIPBOARD", "caf\xe9", false);
  keys({"ctrl+v"});
  ASSERT_TRUE(waitFor([&] {
    latin.serve();
    return f->rawText() == "pastedcaf\xc3\xa9";
  }));
  EXPECT_EQ(latin.requests, 2);
}

TEST_F(TextFields, LongTextsScrollToTheCaret) {
  TextField* f = typingField();
  std::string text(20000, 'm');
  f->setText(text.c_str());
  EXPECT_GT(f->scrollOffset(), 10000);  // the end, where the caret is, shows
  keys({"Home"});
  ASSERT_TRUE(waitFor([&] { return f->scrollOffset() == 0 && f->caret() == 0; }));
  type("a");
  ASSERT_TRUE(waitFor([&] { return f->rawText().size() == 20001; }));
  EXPECT_EQ(f->rawText()[0], 'a');
  keys({"End"});
  ASSERT_TRUE(waitFor([&] { return f->scrollOffset() > 10000; }));
  // Text is painted at the right edge, where the end of the text is.
  settle(50);
  EXPECT_GT(controls::pixelsOtherThan(f->getWindow(), f->getWidth() - 40, 4, 30,
                                      f->getHeight() - 8, bg_pixel),
            0);
}

TEST_F(TextFields, InvalidUtf8BytesAreCharactersOfTheirOwn) {
  TextField* f = typingField();
  f->setText("a\xff\xfe" "b\xc3\xa9");
  settle(50);  // painted without trouble
  keys({"End", "BackSpace"});  // é is one character of two bytes
  ASSERT_TRUE(textIs(f, "a\xff\xfe" "b"));
  keys({"Left", "Left", "BackSpace"});  // caret was before \xfe: \xff goes
  ASSERT_TRUE(textIs(f, "a\xfe" "b"));
  EXPECT_EQ(f->caret(), 1u);
  type("z");
  ASSERT_TRUE(textIs(f, "az\xfe" "b"));
}

// ---- completion --------------------------------------------------------------

class Completion : public TextFields {
 protected:
  void SetUp() override {
    TextFields::SetUp();
    char tmpl[] = "/tmp/w2complXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    for (const char* name : {"alpha.txt", "beta.c", "gamma1", "gamma2", ".hidden"})
      std::ofstream(dir_ + "/" + name) << "x";
    ASSERT_EQ(mkdir((dir_ + "/alphabet").c_str(), 0700), 0);
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(system(cmd.c_str()), 0);
    TextFields::TearDown();
  }
  TextField* completingField() {
    TextField* f = typingField();
    tf_AutoCompleteFile(f, true);
    f->setText((dir_ + "/").c_str());
    return f;
  }
  std::string dir_;
};

TEST_F(Completion, UniquePrefixCompletesWithTheAdditionSelected) {
  TextField* f = completingField();
  type("b");
  ASSERT_TRUE(textIs(f, dir_ + "/beta.c"));
  EXPECT_EQ(f->selectedText(), "eta.c");
  type("x");  // typing on replaces the completion; nothing matches now
  ASSERT_TRUE(textIs(f, dir_ + "/bx"));
  EXPECT_EQ(f->selectedText(), "");
}

TEST_F(Completion, AmbiguousPrefixCompletesTheCommonPartAndTabAccepts) {
  TextField* f = completingField();
  type("g");
  ASSERT_TRUE(textIs(f, dir_ + "/gamma"));
  EXPECT_EQ(f->selectedText(), "amma");
  keys({"Tab"});
  ASSERT_TRUE(waitFor([&] { return f->selectedText().empty(); }));
  EXPECT_EQ(f->caret(), f->rawText().size());
  type("2");
  ASSERT_TRUE(textIs(f, dir_ + "/gamma2"));
  // A lone directory gets its slash.
  f->setText((dir_ + "/alphab").c_str());
  type("e");
  ASSERT_TRUE(textIs(f, dir_ + "/alphabet/"));
}

TEST_F(Completion, NoMatchLeavesTheTextAndDotFilesNeedADot) {
  TextField* f = completingField();
  type("z");
  ASSERT_TRUE(textIs(f, dir_ + "/z"));
  EXPECT_EQ(tf_completeFileName(dir_ + "/"), "");  // several entries, no common start
  EXPECT_EQ(tf_completeFileName(dir_ + "/.h"), "idden");
  EXPECT_EQ(tf_completeFileName(dir_ + "/h"), "");
  EXPECT_EQ(tf_completeFileName("/no/such/dir/x"), "");
  EXPECT_EQ(tf_completeFileName(""), "");
}

TEST_F(Completion, TildeMeansHomeAndHugeDirectoriesAreNotGuessed) {
  const char* oldHome = getenv("HOME");
  std::string saved = oldHome ? oldHome : "";
  setenv("HOME", dir_.c_str(), 1);
  EXPECT_EQ(tf_completeFileName("~/be"), "ta.c");
  EXPECT_EQ(tf_completeFileName("~"), "");
  setenv("HOME", saved.c_str(), 1);
  // Seven entries with "." and "..": a scan capped at five gives up.
  EXPECT_EQ(tf_completeFileName(dir_ + "/gam", 100), "ma");
  EXPECT_EQ(tf_completeFileName(dir_ + "/gam", 5), "");
}

}  // namespace
