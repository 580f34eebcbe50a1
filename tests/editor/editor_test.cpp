// The editor window driven as a person would (keys, the mouse, the
// CLIPBOARD, saving, the lock), and the merge windows through the real
// diffmerge: choices pressed on the Merge window, the marker dialogue, a
// marked conflict block, Abort leaving the inputs alone, and a completed
// two-way merge written to -o.
#include <signal.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <utility>

#include "editor/buffer.h"
#include "editor/editor.h"
#include "editor/file_lines.h"
#include "editor/merge_run.h"
#include "gui/core/fonts.h"
#include "gui/widgets/button.h"
#include "gui_session.h"
#include "test_support.h"
#include "text/file.h"

namespace fs = std::filesystem;
using test_support::readFile;

namespace {

void writeFile(const fs::path& p, const std::string& text) {
  FILE* f = std::fopen(p.c_str(), "w");
  std::fputs(text.c_str(), f);
  std::fclose(f);
}

std::map<std::string, std::string> stateOf(unsigned long window) {
  std::map<std::string, std::string> values;
  std::istringstream in(xtest::property(window, "_DIFFVIEW_STATE"));
  std::string line;
  while (std::getline(in, line))
    if (size_t eq = line.find('='); eq != std::string::npos)
      values[line.substr(0, eq)] = line.substr(eq + 1);
  return values;
}

// The top-level window titled exactly `title` (that publishes its state).
unsigned long windowTitled(const std::string& title, bool withState = true) {
  unsigned long found = 0;
  xtest::poll([&] {
    for (unsigned long w : xtest::topWindows(title))
      if (xtest::title(w) == title && xtest::viewable(w) &&
          (!withState || !xtest::property(w, "_DIFFVIEW_STATE").empty()))
        found = w;
    return found != 0;
  }, 10000);
  return found;
}

// Presses a button of the Merge window by the place its state gives.
void press(unsigned long merge, const std::string& button) {
  std::string key = "button.";
  key += button;
  std::string place = stateOf(merge)[key];
  ASSERT_FALSE(place.empty()) << "no button " << button;
  int x, y, w, h;
  ASSERT_EQ(std::sscanf(place.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h), 4);
  xtest::xdotool({"mousemove", "--window", std::to_string(merge), std::to_string(x + w / 2),
                  std::to_string(y + h / 2), "click", "1"});
}

bool textBecomes(unsigned long window, const std::string& text) {
  return xtest::poll([&] { return stateOf(window)["text"] == text; }, 5000);
}

bool textHas(unsigned long window, const std::string& part) {
  return xtest::poll([&] { return stateOf(window)["text"].find(part) != std::string::npos; });
}

// A diffmerge this test started, killed when the test gives up early.
struct Started {
  pid_t pid;
  ~Started() {
    if (pid > 0) kill(pid, SIGKILL), test_support::waitProgram(pid);
  }
  int wait() { return test_support::waitProgram(std::exchange(pid, -1)); }
};

// The buffer alone: replacements over line ends, undo, the lock, and the
// file written back with its own line ends.
TEST(EditBuffer, EditsUndoAndSavesTheFileWithItsLineEnds) {
  test_support::ScratchDir dir;
  fs::path crlf = fs::path(dir.path()) / "crlf.txt";
  writeFile(crlf, "ab\r\ncd\r\n\xc3\xa9z");
  file* f = FileF_File(crlf.c_str(), 0, 0);
  ASSERT_TRUE(f);
  EditBuffer b(f);
  b.moveTo(EditPos{1, 1}, false);
  b.moveTo(EditPos{2, 1}, true);
  EXPECT_EQ(b.selectedText(), "b\nc");
  b.type("X\nY\nZ");
  EXPECT_EQ(b.lineCount(), 4);
  EXPECT_EQ(b.text(1) + "|" + b.text(2) + "|" + b.text(3), "aX|Y|Zd");
  EXPECT_EQ(b.caret(), (EditPos{3, 1}));
  b.type("1"), b.type("2");
  b.moveTo(EditPos{4, 0}, false);
  b.backspace();  // joins the last line to the one before
  EXPECT_EQ(b.text(3), "Z12d\xc3\xa9z");
  EXPECT_EQ(b.stepLeft(EditPos{3, 6}), (EditPos{3, 4}));  // over a two-byte character
  b.undo();
  b.undo();  // both typed characters at once
  EXPECT_EQ(b.text(3), "Zd");
  b.undo();
  EXPECT_EQ(b.lineCount(), 3);
  EXPECT_EQ(b.text(1) + "|" + b.text(2), "ab|cd");
  EXPECT_FALSE(b.undo());
  b.setLocked(true);
  EXPECT_FALSE(b.type("no"));
  EXPECT_FALSE(b.backspace());
  b.appendLine("end");  // the program may change a locked text
  std::string error;
  ASSERT_TRUE(edit_WriteFile(f, crlf.c_str(), &error)) << error;
  EXPECT_EQ(readFile(crlf), "ab\r\ncd\r\n\xc3\xa9z\r\nend");
  EXPECT_FALSE(edit_WriteFile(f, (fs::path(dir.path()) / "no/such/dir").c_str(), &error));
  EXPECT_EQ(error.rfind("Can't write ", 0), 0u) << error;
  FileFree(f);
  writeFile(crlf, "");
  file* empty = FileF_File(crlf.c_str(), 0, 0);
  EditBuffer e(empty);
  e.appendLine("only");
  EXPECT_EQ(empty->lineCount, 1);
  ASSERT_TRUE(edit_WriteFile(empty, crlf.c_str(), &error));
  EXPECT_EQ(readFile(crlf), "only\n");
  FileFree(empty);
}

class EditorWindows : public GuiSession {
 protected:
  test_support::ScratchDir dir;
  fs::path at(const char* name) { return fs::path(dir.path()) / name; }
};

TEST_F(EditorWindows, KeysEditTheFileThroughTheClipboardAndSaveIt) {
  writeFile(at("notes.txt"), "one\ntwo\n");
  file* f = FileF_File(at("notes.txt").c_str(), 0, 0);
  ASSERT_TRUE(f);
  Edit* e = edit_Open(f, "Notes", 0, 0);
  ASSERT_TRUE(e);
  EXPECT_EQ(xtest::title(edit_Window(e)->getWindow()), "Notes");
  EditBuffer* b = edit_Buffer(e);
  WWindowedItem* view = edit_Window(e)->getActiveItem();
  keys(view, {"End", "s", "BackSpace", "x", "y", "ctrl+z"});
  ASSERT_TRUE(waitFor([&] { return b->text(1) == "one" && b->caret().col == 3; }));
  keys(view, {"Down", "Home", "shift+End", "ctrl+c", "ctrl+End", "Return", "ctrl+v"});
  ASSERT_TRUE(waitFor([&] { return b->lineCount() == 3 && b->text(3) == "two"; }));
  keys(view, {"ctrl+Home", "Delete", "Right", "Tab", "ctrl+s"});
  ASSERT_TRUE(waitFor([&] { return !(f->flags & FILE_MODIFIED); }));
  EXPECT_EQ(readFile(at("notes.txt")), "n\te\ntwo\ntwo\n");
  // A click puts the caret; Shift and a click select up to it.
  int h = font_h;
  click(view, 3, h + h / 2);
  ASSERT_TRUE(waitFor([&] { return b->caret() == EditPos{2, 0}; }));
  xdotool({"keydown", "shift"});
  click(view, 3 + 2 * font_n, 2 * h + h / 2);
  xdotool({"keyup", "shift"});
  ASSERT_TRUE(waitFor([&] { return b->selectedText() == "two\ntw"; }));
  // Locked, the text refuses every change.
  edit_Lock(f, true);
  keys(view, {"a", "BackSpace", "ctrl+x", "ctrl+z"});
  drain();
  EXPECT_EQ(b->lineCount(), 3);
  EXPECT_EQ(b->text(3), "two");
  keys(view, {"ctrl+q"});
  ASSERT_TRUE(waitFor([&] { return cwCount() == 0; }));
  FileFree(f);
}

TEST_F(EditorWindows, ThreeWayConflictsAreChosenMarkedAndAbortedInTheMergeWindow) {
  const char* base = "a\nb\nc\nd\ne\nf\ng\n";
  const char* one = "a\nB1\nc\nD1\ne\nF1\ng\n";
  const char* two = "a\nB2\nc\nD2\ne\nF2\ng\n";
  writeFile(at("base.c"), base), writeFile(at("one.c"), one), writeFile(at("two.c"), two);
  std::string out = at("out").string(), err = at("err").string();
  Started merging{test_support::startProgram(
      std::string(DIFFVIEW_BIN) + "/diffmerge",
      {"-o", at("merged.c").string(), at("one.c").string(), at("two.c").string(),
       at("base.c").string()},
      {}, out, err)};
  unsigned long merge = windowTitled("Merge");
  ASSERT_NE(merge, 0u) << readFile(err);
  unsigned long result = windowTitled("Result"), file1 = windowTitled("File1");
  EXPECT_EQ(stateOf(merge)["threeway"], "1");
  EXPECT_EQ(stateOf(file1)["ranges"], "3");
  EXPECT_EQ(stateOf(file1)["locked"], "1");
  // Changed lines are painted on the difference colour to the window's edge.
  int right = xtest::geometry(file1).width - 30, row = font_h / 2;
  auto pixel = [&](int line) { return xtest::pixelAt(file1, right, (line - 1) * font_h + row); };
  EXPECT_TRUE(xtest::poll([&] { return pixel(1) != pixel(2) && pixel(2) == pixel(4); }));
  EXPECT_EQ(pixel(1), pixel(3));
  ASSERT_TRUE(textBecomes(result, "a\\n"));
  press(merge, "File2");
  ASSERT_TRUE(textBecomes(result, "a\\nB2\\nc\\n"));
  press(merge, "1and2");  // the first block asks for its markers
  unsigned long markers = windowTitled("Conflict markers", false);
  ASSERT_NE(markers, 0u);
  xtest::xdotool({"windowfocus", "--sync", std::to_string(markers), "key", "Return"});
  ASSERT_TRUE(textHas(result, "OLD CODE */\\ne"));
  std::string text = stateOf(result)["text"];
  EXPECT_NE(text.find("\\nD1\\n/* End NEW CODE */ /* OLD CODE */\\n/* D2\\n/* End OLD CODE */"
                      "\\ne\\n"),
            std::string::npos) << text;
  // File 1's lines go through the CLIPBOARD into a window of this program.
  writeFile(at("copy.txt"), "");
  file* copy = FileF_File(at("copy.txt").c_str(), 0, 0);
  Edit* e = edit_Open(copy, "Copy", 700, 500);
  xtest::xdotool({"windowfocus", "--sync", std::to_string(file1), "key", "ctrl+a", "ctrl+c"});
  keys(edit_Window(e)->getActiveItem(), {"ctrl+v"});
  ASSERT_TRUE(waitFor([&] { return edit_Buffer(e)->text(2) == "B1"; }));
  edit_Close(e);
  FileFree(copy);
  press(merge, "Abort");
  EXPECT_EQ(merging.wait(), 1);
  EXPECT_EQ(readFile(at("base.c")), base);
  EXPECT_EQ(readFile(at("one.c")), one);
  EXPECT_EQ(readFile(at("two.c")), two);
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    std::string name = entry.path().filename();
    EXPECT_TRUE(name == "base.c" || name == "one.c" || name == "two.c" || name == "out" ||
                name == "err" || name == "copy.txt") << name << " left behind";
  }
}

TEST_F(EditorWindows, TwoWayMergeCompletesInTheMergeWindowAndWritesTheResult) {
  writeFile(at("one.txt"), "a\nb\nc\n");
  writeFile(at("two.txt"), "a\nB\nc\nX\n");
  std::string bin = std::string(DIFFVIEW_BIN) + "/diffmerge";
  std::vector<std::string> args = {"-o", at("out.txt").string(), at("one.txt").string(),
                                   at("two.txt").string()};
  // Without a display a merge that needs the user is trouble.
  auto headless = test_support::runProgram("env", [&] {
    std::vector<std::string> a = {"-u", "DISPLAY", bin};
    a.insert(a.end(), args.begin(), args.end());
    return a;
  }());
  EXPECT_EQ(headless.status, 2);
  EXPECT_NE(headless.err.find("no display"), std::string::npos) << headless.err;
  EXPECT_FALSE(fs::exists(at("out.txt")));

  Started merging{test_support::startProgram(bin, args, {}, at("o").string(), at("e").string())};
  unsigned long merge = windowTitled("Merge");
  ASSERT_NE(merge, 0u) << readFile(at("e"));
  auto state = stateOf(merge);
  EXPECT_EQ(state.count("button.Both"), 1u);
  EXPECT_EQ(state.count("button.Base") + state.count("button.1and2") + state.count("button.auto"),
            0u);
  unsigned long result = windowTitled("Result");
  press(merge, "File2");
  ASSERT_TRUE(textBecomes(result, "a\\nB\\nc\\n"));
  press(merge, "File2");
  EXPECT_EQ(merging.wait(), 0) << readFile(at("e"));
  EXPECT_EQ(readFile(at("out.txt")), "a\nB\nc\nX\n");
  EXPECT_EQ(readFile(at("one.txt")), "a\nb\nc\n");

  // Without -o the finished merge asks where to save, offering Merged_one.txt.
  Started asking{test_support::startProgram(bin, {at("one.txt").string(), at("two.txt").string()},
                                            {}, at("o").string(), at("e").string())};
  merge = windowTitled("Merge");
  ASSERT_NE(merge, 0u) << readFile(at("e"));
  press(merge, "File1");
  press(merge, "File1");
  unsigned long prompt = windowTitled("Save", false);
  ASSERT_NE(prompt, 0u);
  xtest::xdotool({"windowfocus", "--sync", std::to_string(prompt), "key", "Return"});
  EXPECT_EQ(asking.wait(), 0) << readFile(at("e"));
  EXPECT_EQ(readFile(at("Merged_one.txt")), "a\nb\nc\n");
}

// With the viewer switched off, a pair is compared in two editor windows
// stepped by Previous and Next; closing the stepper closes them.
TEST_F(EditorWindows, ComparisonInEditorWindowsStepsBetweenDifferences) {
  writeFile(at("one.txt"), "a\nb\nc\nd\n");
  writeFile(at("two.txt"), "a\nB\nc\nD\n");
  editor_CompareInWindows(at("one.txt").c_str(), nullptr, at("two.txt").c_str(), nullptr);
  ColWind* stepper = nullptr;
  ASSERT_TRUE(waitFor([&] {
    cwCallProcOnAll([](ColWind* w, void* found) {
      if (w->name == "Compare") *static_cast<ColWind**>(found) = w;
    }, &stepper);
    return stepper && !xtest::topWindows("File2").empty();
  }));
  unsigned long file2 = xtest::topWindows("File2").front();
  ASSERT_TRUE(waitFor([&] { return stateOf(file2)["selection"] == "2,0-3,0"; }));
  EXPECT_EQ(stateOf(file2)["ranges"], "2");
  auto* buttons = static_cast<WButtonSet*>(stepper->getChildren().front());
  WButton* next = buttons->findByLabel("Next");
  EXPECT_TRUE(buttons->findByLabel("Previous")->isDimmed());
  click(next, 5, 5);
  ASSERT_TRUE(waitFor([&] { return stateOf(file2)["selection"] == "4,0-4,1"; }));
  EXPECT_TRUE(next->isDimmed());
  xtest::sendDelete(stepper->getWindow());
  EXPECT_TRUE(waitFor([&] { return cwCount() == 0; }));
}

}  // namespace
