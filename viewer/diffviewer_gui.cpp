// Building the viewer window's widgets and binding their callbacks to the
// window class.  Every callback finds its object through the top-level
// window's returnData.
#include "viewer/diffviewer_gui.h"

#include <cctype>

#include <map>

#include "config/config_vars.h"
#include "gui/core/colwind.h"
#include "gui/lists/mscroll_list.h"
#include "gui/menus/menu_bar.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/textview.h"
#include "gui/widgets/bitmap.h"
#include "viewer/overview_strip.h"
#include "gui/widgets/button.h"
#include "gui/widgets/message_line.h"
#include "gui/widgets/splitter.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field.h"

using namespace dv_layout;

namespace {

constexpr int kInitialWidth = 887;
constexpr int kInitialHeight = 630;
const DrawRect kSomewhere{0, 0, 10, 10};

DiffViewer_GUI* guiOf(WWindowedItem* item) {
  ColWind* top = item ? item->getTopLevel() : nullptr;
  return top ? DiffViewer_fromWindow(top) : nullptr;
}

// ---- callbacks: each finds the window object and calls its operation ----

void DiffViewer_ToolbarCommand(WButton* button, const char* command) {
  DiffViewer_GUI* gui = guiOf(button);
  if (!gui) return;
  std::string c = command;
  if (c == "prev") gui->handle_toolbar_Previous();
  else if (c == "next") gui->handle_toolbar_Next();
  else if (c == "reload") gui->handle_toolbar_Reload();
  else if (c == "quit") gui->close();
}

void DiffViewer_SpinCommand(WButton* button, const char* command) {
  DiffViewer_GUI* gui = guiOf(button);
  if (!gui) return;
  bool right = button->getParent() == gui->spin_right;
  bool next = std::string(command) == "Next";
  if (right) next ? gui->handle_spin_right_Next() : gui->handle_spin_right_Previous();
  else next ? gui->handle_spin_left_Next() : gui->handle_spin_left_Previous();
}

void DiffViewer_filelist_handleSingleClick(MScrollList* list, int row, int column,
                                           int clicks, xinLibSt* event) {
  if (DiffViewer_GUI* gui = guiOf(list))
    gui->filelist_handleSingleClick(row, column, clicks, event);
}

void DiffViewer_filelist_handleDoubleClick(MScrollList* list, int row, int column,
                                           int clicks, xinLibSt* event) {
  if (DiffViewer_GUI* gui = guiOf(list))
    gui->filelist_handleDoubleClick(row, column, clicks, event);
}

void DiffViewer_filelist_handleRightClick(MScrollList* list, int row, int column,
                                          xinLibSt* event) {
  if (DiffViewer_GUI* gui = guiOf(list)) gui->filelist_handleRightClick(row, column, event);
}

int DiffViewer_filelist_handleCli(MScrollList* list, CmdInfo* info) {
  DiffViewer_GUI* gui = guiOf(list);
  return gui ? gui->filelist_handleCli(info) : 0;
}

void DiffViewer_splitterMoved(WSplitter* splitter) {
  DiffViewer_GUI* gui = guiOf(splitter);
  if (!gui || !gui->window) return;
  gui->layout(gui->window->getWidth(), gui->window->getHeight());
}

void DiffViewer_menubar_handleDims(WMenuBar* bar, int menu) {
  if (DiffViewer_GUI* gui = guiOf(bar)) gui->menubar_handleDims(menu);
}

// ---- construction ----

TextField* readOnlyField(ColWind* w) { return new TextField(w, kSomewhere, false); }

WButtonSet* makeToolbar(ColWind* w) {
  auto* bar = new WButtonSet(w, kSomewhere, WButtonSet::kHorizontal);
  bar->setButtonSize(kToolbarButtonWidth, kToolbarHeight);
  bar->addButton("Previous", "arrowup20", "prev",
                 "Go to the previous difference@@Show Previous Difference (Ctrl+-)");
  bar->addButton("Next", "arrowdown20", "next",
                 "Go to the next difference@@Show Next Difference (Ctrl++)");
  bar->addSeparator();
  bar->addButton("Reload", "reload", "reload",
                 "Reload both files, recomputing the differences@@Reload Files (F5)");
  bar->setCommandHandler(DiffViewer_ToolbarCommand);
  return bar;
}

void makeHalf(DiffViewer_GUI* g, bool right) {
  ColWind* w = g->window;
  WTextView*& gutter = right ? g->lineno_right : g->lineno_left;
  WTextView*& view = right ? g->view_right : g->view_left;
  WScrollBar*& bar = right ? g->scrollbar_right : g->scrollbar_left;
  gutter = WTextView::makeWTextView(w, kSomewhere, right ? "lineno_right" : "lineno_left");
  view = WTextView::makeWTextView(w, kSomewhere, right ? "view_right" : "view_left");
  bar = new WScrollBar(w, kSomewhere, SCROLL_HORIZONTAL);
}

void makeFileList(DiffViewer_GUI* g) {
  g->filelist = new MScrollList(g->window, kSomewhere, 6);
  // The header says what each column holds (from the start, so that every
  // layout leaves room for it): the box shows the pair, the last column
  // counts its differences.
  const char* labels[] = {"", "Left", "Version", "Right", "Version", "Diffs"};
  for (int c = 0; c < 6; c++) g->filelist->setColumnLabel(c, labels[c]);
  g->filelist->showHeader(true);
  g->filelist->setSingleClickCallback(DiffViewer_filelist_handleSingleClick);
  g->filelist->setDoubleClickCallback(DiffViewer_filelist_handleDoubleClick);
  g->filelist->setRightClickCallback(DiffViewer_filelist_handleRightClick);
  g->filelist->setCommandHandler(DiffViewer_filelist_handleCli);
}

void makeFieldRow(DiffViewer_GUI* g) {
  ColWind* w = g->window;
  g->tf_filename_left = readOnlyField(w);
  g->tf_filename_right = readOnlyField(w);
  g->txt_version_left = new WStaticText(w, kSomewhere, "Version");
  g->txt_version_right = new WStaticText(w, kSomewhere, "Version");
  g->tf_version_left = readOnlyField(w);
  g->tf_version_right = readOnlyField(w);
}

void makeWidgets(DiffViewer_GUI* g) {
  ColWind* w = g->window;
  g->menubar = new WMenuBar(w, kSomewhere, "DiffViewerMenu");
  g->menubar->setDimsHandler(DiffViewer_menubar_handleDims);
  makeHalf(g, false);
  makeHalf(g, true);
  g->view_splitter = new WSplitter(w, kSomewhere, WSplitter::kVerticalBar);
  g->view_splitter->setCallback(DiffViewer_splitterMoved);
  g->view_scrollbar = new WScrollBar(w, kSomewhere, SCROLL_VERTICAL);
  g->overview = new OverviewStrip(
      w, kSomewhere, [](void* gui, int row) { static_cast<DiffViewer_GUI*>(gui)->overview_handleClick(row); },
      g);
  g->status = new WMessageLine(w, kSomewhere);
  g->status->attach();
  g->view_comments = WTextView::makeWTextView(w, kSomewhere, "view_comments");
  g->vscrollbar_comments = new WScrollBar(w, kSomewhere, SCROLL_VERTICAL);
  g->hscrollbar_comments = new WScrollBar(w, kSomewhere, SCROLL_HORIZONTAL);
  makeFieldRow(g);
  g->comment_splitter = new WSplitter(w, kSomewhere, WSplitter::kHorizontalBar);
  g->comment_splitter->setCallback(DiffViewer_splitterMoved);
  for (WButtonSet** spin : {&g->spin_left, &g->spin_right})
    *spin = bt_SpinPair(w, "@@Show Next Version", "@@Show Previous Version", kSpinButtonWidth,
                        TextField::preferredHeight(), DiffViewer_SpinCommand);
  makeFileList(g);
  g->toolbar = makeToolbar(w);
  g->t_version_left = new WStaticText(w, kSomewhere, "File on disk");
  g->t_version_right = new WStaticText(w, kSomewhere, "File on disk");
}

void findButtons(DiffViewer_GUI* g) {
  g->toolbar_Previous = g->toolbar->findByCommand("prev");
  g->toolbar_Next = g->toolbar->findByCommand("next");
  g->toolbar_Reload = g->toolbar->findByCommand("reload");
  g->spin_left_Next = g->spin_left->buttonAt(0);
  g->spin_left_Previous = g->spin_left->buttonAt(1);
  g->spin_right_Next = g->spin_right->buttonAt(0);
  g->spin_right_Previous = g->spin_right->buttonAt(1);
}

}  // namespace

DiffViewer_GUI* DiffViewer_fromWindow(ColWind* window) {
  return dynamic_cast<DiffViewer_GUI*>(WGeneratedWindow::fromWindow(window));
}

void DiffViewer_GUI::CallEvent(xinLibSt* event) {
  if (event->type == WEV_CONFIGURE) layout(event->width, event->height);
}

WWindowedItem* DiffViewer_GUI::widget(const std::string& name) const {
  const std::map<std::string, WWindowedItem*> named = {
      {"diff_viewer", window},
      {"menubar", menubar},
      {"lineno_left", lineno_left},
      {"view_left", view_left},
      {"scrollbar_left", scrollbar_left},
      {"lineno_right", lineno_right},
      {"view_right", view_right},
      {"scrollbar_right", scrollbar_right},
      {"view_splitter", view_splitter},
      {"view_scrollbar", view_scrollbar},
      {"overview", overview},
      {"status", status},
      {"view_comments", view_comments},
      {"vscrollbar_comments", vscrollbar_comments},
      {"hscrollbar_comments", hscrollbar_comments},
      {"tf_filename_left", tf_filename_left},
      {"tf_filename_right", tf_filename_right},
      {"txt_version_left", txt_version_left},
      {"txt_version_right", txt_version_right},
      {"tf_version_left", tf_version_left},
      {"tf_version_right", tf_version_right},
      {"comment_splitter", comment_splitter},
      {"spin_left", spin_left},
      {"spin_right", spin_right},
      {"filelist", filelist},
      {"toolbar", toolbar},
      {"t_version_left", t_version_left},
      {"t_version_right", t_version_right},
  };
  auto it = named.find(name);
  return it == named.end() ? nullptr : it->second;
}

bool DiffViewer_create(DiffViewer_GUI* gui, const char* title) {
  if (!gui->createWindow("diff_viewer", title, kInitialWidth, kInitialHeight)) return false;
  bitmap_setWindowIcon(gui->window, "VORNEPIC");
  // Keys bound in the configuration ("n|Control: next") run the tool bar's
  // commands, named as the tool bar or its labels name them.
  cwSetCommandHandler(gui->window, [gui](const char* command) {
    std::string c = command;
    for (char& ch : c) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    if (c == "prev" || c == "previous") gui->handle_toolbar_Previous();
    else if (c == "next") gui->handle_toolbar_Next();
    else if (c == "reload") gui->handle_toolbar_Reload();
    else if (c == "quit") gui->close();
    else return false;
    return true;
  });
  makeWidgets(gui);
  findButtons(gui);
  gui->buildPlacer();
  gui->showComments(false);
  gui->layout(kInitialWidth, kInitialHeight);
  return true;
}
