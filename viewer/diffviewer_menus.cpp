// The viewer's menu bar ("&File", "&View", "&Help" with the About box) and
// its two context menus:
// "Diff View Commands" on the text views and "Diff View List Commands" on
// the comparison list.  Each context item is one shared instance that
// answers from the context it is given.
#include "base/gen.h"
#include "config/config_vars.h"
#include "diff/diff.h"
#include "gui/core/busy_cursor.h"
#include "gui/core/colwind.h"
#include "gui/core/gui_init.h"
#include "gui/lists/mscroll_list.h"
#include "gui/menus/menu.h"
#include "gui/menus/menu_bar.h"
#include "gui/widgets/alert.h"
#include "text/file.h"
#include "vc/vc.h"
#include "viewer/diff_chooser.h"
#include "viewer/diffviewer_impl.h"
#include "viewer/edit_file.h"

// What a right click on a text view hands to the menu items.
struct DiffViewContext : MenuContext {
  DiffViewer_Impl* viewer;
  WTextView* view;
  file* side;
  std::string name;  // the file to act on: the working file of a fetched copy
  bool underVC;
  int row;
  TextElement* element;
};

struct DiffViewFilelistContext : MenuContext {
  DiffViewer_Impl* viewer;
  int row, column;
  MScrollList* list;
};

namespace {

DiffViewer_Impl* viewerOf(WMenuBar* bar) {
  ColWind* top = bar->getTopLevel();
  return dynamic_cast<DiffViewer_Impl*>(top ? DiffViewer_fromWindow(top) : nullptr);
}

// ---- the menu bar ----

enum { kFileMenu, kViewMenu };
// The View items in order, with the option bit each one toggles (0 for the
// separator) and the bits it clears.
struct ViewItem {
  int bit, clears;
};
const ViewItem kViewItems[] = {
    {DIFF_IGNORE_SPACE_AMOUNT, DIFF_IGNORE_ALL_SPACE | DIFF_C_TOKENS},
    {DIFF_C_TOKENS, DIFF_IGNORE_ALL_SPACE | DIFF_IGNORE_SPACE_AMOUNT},
    {DIFF_IGNORE_ALL_SPACE, DIFF_IGNORE_SPACE_AMOUNT | DIFF_C_TOKENS},
    {0, 0},
    {DIFF_IGNORE_CASE, 0},
};
constexpr int kViewItemCount = sizeof kViewItems / sizeof kViewItems[0];
// After a separator: whether the words that differ within lines are shaded.
constexpr int kLineChangesItem = kViewItemCount + 1;

void DV_FileMenuDispatcher(WMenuBar* bar, int index) {
  DiffViewer_Impl* v = viewerOf(bar);
  if (!v) return;
  switch (index) {
    case 0: v->openChooser(true); break;
    case 1: v->openChooser(false); break;
    case 2: v->showCurrentDiff(0); break;
    case 3: v->close(); break;
    default: break;
  }
}

// The whitespace items exclude each other; choosing a checked one clears
// it.  The comparison is recomputed at once.
void DV_ViewMenuDispatcher(WMenuBar* bar, int index) {
  DiffViewer_Impl* v = viewerOf(bar);
  if (v && index == kLineChangesItem) v->setLineChanges(!v->lineChanges());
  if (!v || index < 0 || index >= kViewItemCount || !kViewItems[index].bit) return;
  const ViewItem& item = kViewItems[index];
  v->setOptions((v->options() ^ item.bit) & ~item.clears);
  v->handle_toolbar_Reload();
}

// What the About box says besides the name: the keys of the window.
const char* const kKeyTable =
    "Keys:\n"
    "  Ctrl+O  open another pair here;  Ctrl+Shift+O  in a new window\n"
    "  -  or  _  (with or without Ctrl)  previous difference\n"
    "  +  or  =  (with or without Ctrl)  next difference\n"
    "  *  (with or without Ctrl)  show the current difference again\n"
    "  F5  reload both files\n"
    "  Ctrl+Shift+H  version history;  Ctrl+Shift+L  last edit\n"
    "  Ctrl+Q  close the window\n"
    "  other keys drive the comparison list";

void showAbout(DiffViewer_Impl* v) {
  std::string title = "About ";
  title += DiffViewer_applicationTitle();
  std::string text = DiffViewer_applicationTitle();
  text += " ";
  text += DIFFVIEW_VERSION;
  if (*abGetText(1)) {
    text += "\n";
    text += abGetText(1);
  }
  text += "\n\n";
  text += kKeyTable;
  gui_AlertTitled(v->window, title.c_str(), text.c_str());
}

void DV_HelpMenuDispatcher(WMenuBar* bar, int index) {
  DiffViewer_Impl* v = viewerOf(bar);
  if (v && index == 0) showAbout(v);
}

void registerMenuBar() {
  static bool done = false;
  if (done) return;
  done = true;
  W_registerMenuBar("DiffViewerMenu",
                    {{"&File",
                      {{"&Open Diff...", "Ctrl+O"},
                       {"Open &New Diff...", "Ctrl+Shift+O"},
                       {"&Show Current Diff", "Ctrl+*"},
                       {"&Close", "Ctrl+Q"}},
                      DV_FileMenuDispatcher},
                     {"&View",
                      {{"Ignore Whitespace &Amount", ""},
                       {"Ignore Whitespace for &C", ""},
                       {"Ignore All &Whitespace", ""},
                       {"-", ""},
                       {"Case &Insensitive", ""},
                       {"-", ""},
                       {"Changes Within &Lines", ""}},
                      DV_ViewMenuDispatcher},
                     {"&Help", {{"&About...", ""}}, DV_HelpMenuDispatcher}});
}

// ---- "Diff View Commands" ----

class DV_EditFile_MenuItem : public MenuCommandHelper<DiffViewContext> {
 public:
  static DV_EditFile_MenuItem me;
  std::string label(DiffViewContext& c) override {
    return c.side && c.side->versionLabel ? "Edit File on Disk" : "Edit File";
  }
  void action(DiffViewContext& c) override { c.viewer->editFile(c.view, c.row); }
};
DV_EditFile_MenuItem DV_EditFile_MenuItem::me;

class DV_ShowLastEdit_MenuItem : public MenuCommandHelper<DiffViewContext> {
 public:
  static DV_ShowLastEdit_MenuItem me;
  std::string label(DiffViewContext& c) override {
    int first = 0, last = 0, p0 = 0, p1 = 0;
    bool selected = c.view->getSelectionBounds(&first, &p0, &last, &p1);
    return selected ? "Show Last Edit" : "Show Last Edit in File";
  }
  bool enabled(DiffViewContext& c) override { return c.underVC; }
  void action(DiffViewContext& c) override;
};
DV_ShowLastEdit_MenuItem DV_ShowLastEdit_MenuItem::me;

class DV_ShowHistory_MenuItem : public MenuCommandHelper<DiffViewContext> {
 public:
  static DV_ShowHistory_MenuItem me;
  std::string label(DiffViewContext&) override { return "Show History"; }
  bool enabled(DiffViewContext& c) override { return c.underVC; }
  void action(DiffViewContext& c) override {
    WBusyCursor busy;
    vc_ShowHistory(c.name.c_str());
  }
};
DV_ShowHistory_MenuItem DV_ShowHistory_MenuItem::me;

class DV_ChangeCurrentDiff_MenuItem : public MenuCommandHelper<DiffViewContext> {
 public:
  static DV_ChangeCurrentDiff_MenuItem me;
  std::string label(DiffViewContext&) override { return "Set To Current Diff"; }
  bool enabled(DiffViewContext& c) override {
    return c.viewer->inVirtualRange(c.view, c.row) >= 0;
  }
  void action(DiffViewContext& c) override {
    c.viewer->setRange(c.viewer->inVirtualRange(c.view, c.row));
  }
};
DV_ChangeCurrentDiff_MenuItem DV_ChangeCurrentDiff_MenuItem::me;

// The selected rows as file lines (the whole file without a selection);
// the change that last touched them is shown as a comparison of the two
// versions around it.
void DV_ShowLastEdit_MenuItem::action(DiffViewContext& c) {
  WBusyCursor busy;
  int firstRow = c.view->getFirstSelectedLine(), lastRow = c.view->getLastSelectedLine();
  int first = firstRow > 0 ? c.viewer->convertVirtualLine(c.view, firstRow) : 1;
  int last = lastRow > 0 ? c.viewer->convertVirtualLine(c.view, lastRow)
                         : static_cast<int>(c.side ? c.side->lineCount : 1);
  char *version1 = nullptr, *version2 = nullptr;
  int line = 0;
  const char* revision = c.side ? c.side->versionLabel : nullptr;
  int result = vc_ShowLastEdit(c.name.c_str(), first, last, revision, &version1, &version2,
                               &line);
  if (result == 0 && version1 && std::string(version1) != "original") {
    DiffViewer* shown = DiffViewer::createDiffViewer(c.name.c_str(), version1, nullptr,
                                                     c.name.c_str(), version2, nullptr, true,
                                                     false, c.viewer->options());
    if (shown) shown->gotoRange(line);
  } else {
    gui_Alert(c.viewer->window, "Selection has never changed.");
  }
  gen_free(version1);
  gen_free(version2);
}

// ---- "Diff View List Commands" ----

class DVF_ShowDiff_MenuItem : public MenuCommandHelper<DiffViewFilelistContext> {
 public:
  static DVF_ShowDiff_MenuItem me;
  std::string label(DiffViewFilelistContext&) override { return "Show Diff"; }
  bool enabled(DiffViewFilelistContext& c) override {
    return !c.viewer->isMSLCellOn(c.list, c.row, 0);
  }
  void action(DiffViewFilelistContext& c) override {
    c.viewer->handleToggle(c.list, c.row, c.column);
  }
};
DVF_ShowDiff_MenuItem DVF_ShowDiff_MenuItem::me;

class DVF_RemoveDiff_MenuItem : public MenuCommandHelper<DiffViewFilelistContext> {
 public:
  static DVF_RemoveDiff_MenuItem me;
  std::string label(DiffViewFilelistContext&) override { return "Remove Diff"; }
  bool enabled(DiffViewFilelistContext& c) override { return c.list->getRowCount() > 1; }
  void action(DiffViewFilelistContext& c) override { c.viewer->removeSelectedEntry(); }
};
DVF_RemoveDiff_MenuItem DVF_RemoveDiff_MenuItem::me;

}  // namespace

void DiffViewer_registerMenus() { registerMenuBar(); }

const char* DiffViewer_applicationTitle() {
  if (cfg_application_title && *cfg_application_title) return cfg_application_title;
  const char* registered = abGetText(0);
  return *registered ? registered : "VORNE Diff Viewer";
}

void DiffViewer_Impl::configureMenus() {
  textMenu_.append(&DV_EditFile_MenuItem::me, "Edit File");
  textMenu_.append(&DV_ShowLastEdit_MenuItem::me, "Show Last Edit");
  textMenu_.append(&DV_ShowHistory_MenuItem::me, "Show History");
  textMenu_.append(&DV_ChangeCurrentDiff_MenuItem::me, "Set To Current Diff");
  listMenu_.append(&DVF_ShowDiff_MenuItem::me, "Show Diff");
  listMenu_.append(&DVF_RemoveDiff_MenuItem::me, "Remove Diff");
}

// Check marks follow the window's options, including those given at
// start-up.
void DiffViewer_Impl::menubar_handleDims(int menu) {
  if (menu != kViewMenu) return;
  for (int i = 0; i < kViewItemCount; i++)
    if (kViewItems[i].bit) menubar->setChecked(kViewMenu, i, options_ & kViewItems[i].bit);
  menubar->setChecked(kViewMenu, kLineChangesItem, lineChanges_);
}

namespace {

DiffViewContext textContext(DiffViewer_Impl* viewer, WTextView* view, int row,
                            TextElement* element) {
  DiffViewContext c;
  c.viewer = viewer;
  c.view = view;
  c.side = viewer->fileFromView(view);
  const char* name =
      c.side && c.side->sourceName ? c.side->sourceName : viewer->filenameFromView(view);
  c.name = name ? name : "";
  c.underVC = !c.name.empty() && vc_UnderVC(c.name.c_str());
  c.row = row;
  c.element = element;
  return c;
}

}  // namespace

void DiffViewer_Impl::popupTextMenu(WTextView* view, int row, TextElement* element,
                                    xinLibSt*) {
  DiffViewContext c = textContext(this, view, row, element);
  textMenu_.show("Diff View Commands", c);
}

// Control+Shift+H and Control+Shift+L: the menu's history commands for the
// file of the view the key was pressed in.
void DiffViewer_Impl::versionCommand(WTextView* view, bool lastEdit) {
  if (view != view_left && view != view_right) view = view_right;
  DiffViewContext c = textContext(this, view, 0, nullptr);
  if (!c.underVC) return;
  if (lastEdit) DV_ShowLastEdit_MenuItem::me.action(c);
  else DV_ShowHistory_MenuItem::me.action(c);
}

void DiffViewer_Impl::filelist_handleRightClick(int row, int column, xinLibSt*) {
  DiffViewFilelistContext c;
  c.viewer = this;
  c.row = row;
  c.column = column;
  c.list = filelist;
  filelist->setSelectedRow(row, false);
  listMenu_.show("Diff View List Commands", c);
}

void DiffViewer_Impl::openChooser(bool reuse) {
  DiffFileChooser_open(sides_.name[0].c_str(), sides_.version[0].c_str(),
                       sides_.name[1].c_str(), sides_.version[1].c_str(), reuse, nullptr,
                       options_);
}

void DiffViewer_Impl::editFile(WTextView* view, int row) {
  file* f = fileFromView(view);
  const char* name = f && f->sourceName ? f->sourceName : filenameFromView(view);
  if (!name) return;
  int line = convertVirtualLine(view, row);
  if (!ReuseEditTag(name, line, 1, 0, 0)) {
    std::string message = "Cannot start the editor for " + std::string(name);
    showMessage(message.c_str());
  }
}
