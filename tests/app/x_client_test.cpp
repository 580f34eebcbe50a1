// diffview as an X client among others: what its windows tell window
// managers and task bars (read back with xprop), the geometry, title and
// key bindings it is given, its Help menu, and the selections it trades
// with another client: typed text beyond Latin-1 and a paste larger than
// one X request, both ways, through the INCR protocol.
#include <gtest/gtest.h>
#include <X11/Xatom.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"
#include "viewer_session.h"

namespace fs = std::filesystem;

namespace {

class XClient : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(xtest::display(), nullptr) << "no Xvfb";
    dir = fs::temp_directory_path() /
          ("xclient-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir / "config");
    std::ofstream(dir / "l.txt") << "a\nb\nc\nd\ne\n";
    std::ofstream(dir / "r.txt") << "a\nB\nc\nD\ne\n";
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string p(const std::string& name) { return (dir / name).string(); }
  bool start(ViewerSession& v, const std::vector<std::string>& args) {
    return v.start(args, (dir / "config").string());
  }
  fs::path dir;
};

// What xprop says of a window's property ("_NET_WM_PID(CARDINAL) = 42").
std::string xprop(unsigned long window, const char* name) {
  xtest::flush();
  test_support::ProgramResult r =
      test_support::runProgram("xprop", {"-id", std::to_string(window), name});
  return r.out.substr(0, r.out.find('\n'));
}

// The properties every top-level window of the process carries.
void expectClientProperties(unsigned long window, int pid, const std::string& title) {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(xprop(window, "_NET_WM_PID"), "_NET_WM_PID(CARDINAL) = " + std::to_string(pid));
  EXPECT_EQ(xprop(window, "WM_CLIENT_MACHINE"),
            "WM_CLIENT_MACHINE(STRING) = \"" + std::string(host) + "\"");
  EXPECT_EQ(xprop(window, "WM_CLASS"), "WM_CLASS(STRING) = \"diffview\", \"Diffview\"");
  EXPECT_EQ(xprop(window, "_NET_WM_NAME"), "_NET_WM_NAME(UTF8_STRING) = \"" + title + "\"");
  EXPECT_EQ(xtest::property(window, "_NET_WM_ICON_NAME").empty(), false);
  std::string icon = xtest::property(window, "_NET_WM_ICON");  // width, height, pixels
  ASSERT_GE(icon.size(), 2 * sizeof(long));
  const long* words = reinterpret_cast<const long*>(icon.data());
  EXPECT_GT(words[0] * words[1], 0);
  EXPECT_EQ(icon.size(), static_cast<size_t>(2 + words[0] * words[1]) * sizeof(long));
}

TEST_F(XClient, WindowsCarryTheirPropertiesGeometryTitleAndBindings) {
  std::ofstream(dir / "config" / "qen.cfg")
      << "applicationTitle \"Pair Checker\"\nn|Control: next\nbogusOption 1\n";
  ViewerSession v;
  ASSERT_TRUE(start(v, {"-geometry", "640x480+37+41", p("l.txt"), p("r.txt")}));
  std::string title = "l.txt (Current Version) vs. r.txt (Current Version) - Pair Checker";
  ASSERT_NE(v.waitForWindow(title), 0u);
  EXPECT_EQ(xtest::title(v.window()), title);
  expectClientProperties(v.window(), v.state().number("pid"), title);
  xtest::Rect r = xtest::geometry(v.window());
  EXPECT_EQ(std::vector<int>({r.x, r.y, r.width, r.height}), std::vector<int>({37, 41, 640, 480}));

  ASSERT_EQ(v.waitForCurrent(1), 1);
  v.key("ctrl+n");  // bound to "next" by the configuration
  EXPECT_EQ(v.waitForCurrent(2), 2);
  v.key("ctrl+underscore");
  EXPECT_EQ(v.waitForCurrent(1), 1);

  // Help > About: the program's name, version and keys, in a window that
  // carries the same properties.
  v.key("alt+h");
  xtest::poll([] { return !xtest::popups().empty(); });
  keys({"a"});
  unsigned long about = focusWindow("About Pair Checker");
  ASSERT_NE(about, 0u);
  expectClientProperties(about, v.state().number("pid"), "About Pair Checker");
  keys({"Return"});
  EXPECT_TRUE(xtest::poll([] { return xtest::topWindows("About Pair").empty(); }));
  v.key("ctrl+q");
  EXPECT_EQ(v.wait(), 0);
  EXPECT_EQ(v.errors(), "diffview: error: Unknown configuration option: bogusOption 1\n");

  ViewerSession bad;
  ASSERT_TRUE(start(bad, {"-geometry", "wide", p("l.txt"), p("r.txt")}));
  ASSERT_NE(bad.waitForWindow("Pair Checker"), 0u);
  bad.key("ctrl+q");
  EXPECT_EQ(bad.wait(), 0);
  EXPECT_NE(bad.errors().find("diffview: warning: Ignoring the geometry \"wide\": it is not "
                              "WIDTHxHEIGHT+X+Y\n"),
            std::string::npos);
}

// A client of the test's own: owns CLIPBOARD with a text it hands out in
// pieces (INCR), and asks for CLIPBOARD, taking pieces as they come.
class Clipboard {
 public:
  Clipboard() : d_(xtest::display()) {
    w_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(d_, w_, PropertyChangeMask);
    clip_ = XInternAtom(d_, "CLIPBOARD", False);
    utf8_ = XInternAtom(d_, "UTF8_STRING", False);
    incr_ = XInternAtom(d_, "INCR", False);
  }
  ~Clipboard() { XDestroyWindow(d_, w_); }

  void own(const std::string& text) {
    text_ = text;
    XSetSelectionOwner(d_, clip_, w_, CurrentTime);
    XSync(d_, False);
  }
  // Answers requests until the whole text went out in pieces.
  bool serve() {
    Window to = 0;
    Atom prop = 0;
    size_t sent = 0;
    bool ended = false;
    return xtest::poll([&] { return ended; }, 10000, [&] {
      XEvent e;
      if (!XPending(d_)) return;
      XNextEvent(d_, &e);
      if (e.type == SelectionRequest) {
        XSelectionRequestEvent& q = e.xselectionrequest;
        to = q.requestor, prop = q.property;
        XSelectInput(d_, to, PropertyChangeMask);
        long size = static_cast<long>(text_.size());
        XChangeProperty(d_, to, prop, incr_, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&size), 1);
        XEvent n{};
        n.xselection = {SelectionNotify, 0, True, d_, to, q.selection, q.target, prop, q.time};
        XSendEvent(d_, to, False, 0, &n);
      } else if (e.type == PropertyNotify && e.xproperty.window == to &&
                 e.xproperty.atom == prop && e.xproperty.state == PropertyDelete) {
        size_t n = std::min<size_t>(100000, text_.size() - sent);
        XChangeProperty(d_, to, prop, utf8_, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text_.data() + sent), int(n));
        sent += n;
        ended = n == 0;
      }
      XFlush(d_);
    });
  }
  // CLIPBOARD as UTF-8, whole or in pieces, once another client owns it;
  // "" when nothing came.
  std::string read() {
    xtest::poll([&] {
      Window owner = XGetSelectionOwner(d_, clip_);
      return owner != None && owner != w_;
    });
    Atom prop = XInternAtom(d_, "XCLIENT_TEST", False);
    XConvertSelection(d_, clip_, utf8_, prop, w_, CurrentTime);
    std::string text;
    bool incr = false, done = false;
    xtest::poll([&] { return done; }, 10000, [&] {
      XEvent e;
      if (!XPending(d_)) return;
      XNextEvent(d_, &e);
      bool answer = e.type == SelectionNotify && !incr;
      bool piece = e.type == PropertyNotify && incr && e.xproperty.atom == prop &&
                   e.xproperty.state == PropertyNewValue;
      if (!answer && !piece) return;
      Atom type;
      int format;
      unsigned long n, after;
      unsigned char* data = nullptr;
      XGetWindowProperty(d_, w_, prop, 0, 1 << 24, True, AnyPropertyType, &type, &format, &n,
                         &after, &data);
      incr = incr || type == incr_;
      inPieces_ = incr;
      if (data && type != incr_) text.append(reinterpret_cast<char*>(data), n);
      done = !incr || (piece && n == 0);
      if (data) XFree(data);
    });
    return text;
  }
  bool cameInPieces() const { return inPieces_; }  // the last read()

 private:
  Display* d_;
  Window w_;
  Atom clip_, utf8_, incr_;
  std::string text_;
  bool inPieces_ = false;
};

// Gives the characters keys of their own on the test's keyboard, so that
// xdotool types them without remapping a key for each (the program may
// read such a key after the remapping is undone).
void addKeys(const std::vector<KeySym>& symbols) {
  Display* d = xtest::display();
  int low, high, per;
  XDisplayKeycodes(d, &low, &high);
  KeySym* map = XGetKeyboardMapping(d, low, high - low + 1, &per);
  size_t next = 0;
  for (int code = high; code >= low && next < symbols.size(); code--) {
    bool unused = true;
    for (int i = 0; i < per; i++) unused = unused && map[(code - low) * per + i] == NoSymbol;
    if (unused) XChangeKeyboardMapping(d, code, 1, const_cast<KeySym*>(&symbols[next++]), 1);
  }
  XFree(map);
  XSync(d, False);
}

// A field of the chooser: typed text arrives through the input method, a
// megabyte pasted arrives whole and copies back whole.
TEST_F(XClient, TextFieldsTakeUnicodeAndPastesOfAnySize) {
  addKeys({XStringToKeysym("Greek_OMEGA"), XStringToKeysym("EuroSign"),
           XStringToKeysym("Cyrillic_zhe")});
  ViewerSession v;
  ASSERT_TRUE(start(v, {p("l.txt")}));
  ASSERT_NE(focusWindow("Choose two files"), 0u);
  Clipboard clipboard;
  keys({"ctrl+a"});
  type("Ωmega €5 ж");
  keys({"ctrl+a", "ctrl+c"});
  EXPECT_EQ(clipboard.read(), "Ωmega €5 ж");

  std::string big(1 << 20, 'x');
  for (size_t i = 0; i < big.size(); i += 997) big[i] = static_cast<char>('a' + i % 26);
  clipboard.own(big);
  keys({"ctrl+a", "ctrl+v"});
  ASSERT_TRUE(clipboard.serve());
  // The paste has landed once the copy gives more than the last text.
  std::string back;
  xtest::poll([&] {
    keys({"ctrl+a", "ctrl+c"});
    back = clipboard.read();
    return back.size() >= big.size();
  }, 20000);
  EXPECT_EQ(back.size(), big.size());
  EXPECT_TRUE(back == big);
  EXPECT_TRUE(clipboard.cameInPieces());
  EXPECT_TRUE(v.running());
}

}  // namespace
