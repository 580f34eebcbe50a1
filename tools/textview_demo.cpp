// A small window for trying the toolkit's text view before the viewer
// exists: two files side by side, each with a line-number gutter, all four
// panes under one vertical scroll bar, each text with its own horizontal
// bar.  Clicking a line number selects the line; Control+Q closes.
//
//   textview_demo [X options] file1 file2
//   textview_demo -bench file   (load, show, jump to the end; print timings)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/gen.h"
#include "gui/core/colwind.h"
#include "gui/core/event_loop.h"
#include "gui/core/fonts.h"
#include "gui/core/gui_init.h"
#include "gui/core/pixels.h"
#include "gui/core/wgui.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/selection_margin.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview.h"

namespace {

constexpr int kBar = 14;
constexpr int kGutterChars = 6;

// One file: its text view, the gutter beside it and their browsers.
struct Pane {
  WTextView* text = nullptr;
  WTextView* gutter = nullptr;
  WScrollBar* hbar = nullptr;
  std::unique_ptr<SimpleBrowser> textBrowser, gutterBrowser;
  std::unique_ptr<SelectionMargin> margin;
  int lines = 0;
};

struct Demo {
  ColWind* window = nullptr;
  WScrollBar* vbar = nullptr;
  Pane panes[2];
  int paneCount = 0;
};
Demo demo;

// Fills a pane with the file's lines; false (with a message) when the
// file cannot be read.
bool loadFile(Pane& pane, const char* name) {
  long size = 0;
  char* data = gen_readfile_into_buffer(name, &size);
  if (!data) {
    gen_error("Cannot read \"%s\"", name);
    return false;
  }
  pane.textBrowser->startBatch();
  pane.gutterBrowser->startBatch();
  char number[16];
  for (long at = 0; at < size;) {
    const char* nl = static_cast<const char*>(std::memchr(data + at, '\n', size - at));
    long end = nl ? nl - data : size;
    pane.textBrowser->addText(data + at, static_cast<int>(end - at));
    pane.textBrowser->addElement(new FakeBreak);
    pane.textBrowser->addLineBreak(-1);
    std::snprintf(number, sizeof number, "%d", ++pane.lines);
    pane.gutterBrowser->addText(number);
    pane.gutterBrowser->addLineBreak(static_cast<long>(control_pixel));
    at = end + 1;
  }
  pane.gutterBrowser->endBatch();
  pane.textBrowser->endBatch();
  gen_free(data);
  return true;
}

void layout(int width, int height) {
  int gutter = kGutterChars * font_n + 4;
  int paneWidth = (width - kBar) / demo.paneCount;
  int textHeight = height - kBar;
  for (int i = 0; i < demo.paneCount; i++) {
    Pane& p = demo.panes[i];
    int x = i * paneWidth;
    p.gutter->setGeometry(DrawRect{x, 0, gutter, textHeight});
    p.text->setGeometry(DrawRect{x + gutter, 0, paneWidth - gutter - 1, textHeight});
    p.hbar->setGeometry(DrawRect{x + gutter, textHeight, paneWidth - gutter - 1, kBar});
  }
  demo.vbar->setGeometry(DrawRect{width - kBar, 0, kBar, textHeight});
}

void makePane(Pane& p) {
  p.gutter = WTextView::makeWTextView(demo.window, DrawRect{0, 0, 10, 10}, "gutter");
  p.text = WTextView::makeWTextView(demo.window, DrawRect{0, 0, 10, 10}, "text");
  p.hbar = new WScrollBar(demo.window, DrawRect{0, 0, 10, kBar}, SCROLL_HORIZONTAL);
  p.gutterBrowser = std::make_unique<SimpleBrowser>(p.gutter, true);
  p.textBrowser = std::make_unique<SimpleBrowser>(p.text, true);
  p.gutter->setBackground(control_pixel);
  p.gutter->refreshBackgroundPixel();
  for (SimpleBrowser* b : {p.gutterBrowser.get(), p.textBrowser.get()}) b->setMargin(1);
  for (WTextView* v : {p.gutter, p.text}) {
    v->setMinLineHeight(1);
    v->setScrollLineHeight(font_h);
    v->setZoneLimit(1000);
    v->setVScroller(demo.vbar);
  }
  p.text->setHScroller(p.hbar);
  p.text->setNewlinesInSelection(false);
  p.gutter->disableSelection();
  p.margin = std::make_unique<SelectionMargin>(p.text, p.gutter);
}

// Browsers go before the views they fill; the window deletes the views.
int closeDemo(ColWind*) {
  for (Pane& p : demo.panes) {
    p.margin.reset();
    p.textBrowser.reset();
    p.gutterBrowser.reset();
  }
  return 1;
}

int demoEvent(xinLibSt* e, ColWind*) {
  if (e->type == WEV_CONFIGURE) layout(e->width, e->height);
  return 0;
}

bool openDemo(int count, char** files, int width, int height) {
  demo.paneCount = count;
  demo.window = cwxCreatexy(-1, -1, "textview_demo", nullptr, nullptr, closeDemo, demoEvent,
                            width, height, nullptr);
  if (!demo.window) return false;
  demo.vbar = new WScrollBar(demo.window, DrawRect{0, 0, kBar, 10}, SCROLL_VERTICAL);
  for (int i = 0; i < count; i++) makePane(demo.panes[i]);
  layout(width, height);
  for (int i = 0; i < count; i++) {
    if (loadFile(demo.panes[i], files[i])) continue;
    cwDestroy(demo.window);  // the close callback lets the browsers go first
    return false;
  }
  demo.panes[0].text->activateMe();
  return true;
}

double secondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// Runs the loop until the view has painted more than `before` times.
void waitForPaint(WTextView* view, long before) {
  while (view->getPaintCount() <= before) {
    WEventAll(0);
    if (view->getPaintCount() > before) break;
    WYield(5, false);
  }
  draw_flush();
}

// One browser over one view, as a viewer pane is filled: each line as
// text, a line break for copying, and a line end.
int runBench(const char* file) {
  auto start = std::chrono::steady_clock::now();
  ColWind* window = cwxCreatexy(-1, -1, "textview_demo", nullptr, nullptr, nullptr, nullptr,
                                900, 700, nullptr);
  if (!window) return 1;
  auto* bar = new WScrollBar(window, DrawRect{900 - kBar, 0, kBar, 700}, SCROLL_VERTICAL);
  WTextView* view = WTextView::makeWTextView(window, DrawRect{0, 0, 900 - kBar, 700}, "text");
  auto browser = std::make_unique<SimpleBrowser>(view, true);
  view->setMinLineHeight(1);
  view->setZoneLimit(1000);
  view->setVScroller(bar);
  long size = 0;
  char* data = gen_readfile_into_buffer(file, &size);
  if (!data) {
    gen_error("Cannot read \"%s\"", file);
    return 1;
  }
  int lines = 0;
  browser->startBatch();
  for (long at = 0; at < size; lines++) {
    const char* nl = static_cast<const char*>(std::memchr(data + at, '\n', size - at));
    long end = nl ? nl - data : size;
    browser->addText(data + at, static_cast<int>(end - at));
    browser->addElement(new FakeBreak);
    browser->addLineBreak(-1);
    at = end + 1;
  }
  browser->endBatch();
  gen_free(data);
  double load = secondsSince(start);
  auto shown = std::chrono::steady_clock::now();
  waitForPaint(view, 0);
  double firstPaint = secondsSince(shown), fromStart = secondsSince(start);
  auto jump = std::chrono::steady_clock::now();
  long before = view->getPaintCount();
  view->scrollToLine(view->getLineCount(), false);
  waitForPaint(view, before);
  double jumpTime = secondsSince(jump);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("lines: %d\nload and lay out: %.3f s\nfirst paint after load: %.3f s\n"
              "first paint from start: %.3f s\njump to last line: %.3f s\n"
              "peak memory: %ld MB\nlast line shown: %d\n",
              lines, load, firstPaint, fromStart, jumpTime, usage.ru_maxrss / 1024,
              view->getLastLine());
  browser.reset();
  cwDestroy(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  init_prior_to_gui(&argc, argv);
  if (WGUIInit(&argc, argv, nullptr, false, false, WGUI_KIND_APPLICATION) != 1) return 1;
  int status = 0;
  if (argc == 3 && !std::strcmp(argv[1], "-bench")) {
    status = runBench(argv[2]);
  } else if (argc == 3) {
    if (!openDemo(2, argv + 1, 1000, 600)) status = 1;
    else WMainLoop();
  } else {
    std::fprintf(stderr, "usage: %s [X options] file1 file2\n"
                         "       %s -bench file\n", gen_getprogname(), gen_getprogname());
    status = 2;
  }
  WDrawExit();
  WGUIDestroy();
  return status;
}
