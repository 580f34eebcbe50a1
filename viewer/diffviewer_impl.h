// DiffViewer_Impl: one viewer window showing one comparison at a time.  It
// loads the two sides, has the engine compare them, lays both texts out
// row by row so that equal lines face each other, tracks the current
// difference, and keeps the window's list of comparisons.
//
// The work is spread over files by concern: diffviewer_impl.cpp (building,
// loading and laying out a pair), diffviewer_nav.cpp (the current
// difference, keys and mouse), diffviewer_list.cpp (the comparison list),
// diffviewer_menus.cpp (menu bar and context menus).
#pragma once

#include <memory>
#include <string>

#include "gui/lists/mscroll_list.h"
#include "gui/menus/context_menu.h"
#include "gui/text/textview.h"
#include "viewer/diffviewer.h"
#include "viewer/diffviewer_gui.h"
#include "viewer/dirnames.h"

class SelectionMargin;
class PaneRows;
struct FileListEntry;
class SimpleBrowser;
class TextElement;
struct DiffStuff;
struct file;
struct line;

// What the two sides of a comparison are: names, versions and dates (a
// version or date is empty when not asked for).
struct DiffSides {
  std::string name[2], version[2], date[2];
  bool hasVersion(int side) const { return !version[side].empty(); }
  bool hasDate(int side) const { return !date[side].empty(); }
  bool fromDisk(int side) const { return !hasVersion(side) && !hasDate(side); }
  bool operator==(const DiffSides&) const = default;
};

class DiffViewer_Impl : public DiffViewer,
                        public DiffViewer_GUI,
                        public MScrollListAutoToggleHandler,
                        public WTextView::KeyListener {
 public:
  DiffViewer_Impl(const char* leftName, const char* leftVersion, const char* leftDate,
                  const char* rightName, const char* rightVersion, const char* rightDate,
                  int options);
  ~DiffViewer_Impl() override;

  bool isOpened() const { return opened_; }

  // DiffViewer
  void gotoRange(int line) override;
  void raiseWindow() override;
  void loadNewDiff(const char* leftName, const char* leftVersion, const char* leftDate,
                   const char* rightName, const char* rightVersion, const char* rightDate,
                   loadType type, int line) override;

  // DiffViewer_GUI
  void CallEvent(xinLibSt* event) override;
  void handle_spin_right_Next() override { spinVersion(true, true); }
  void handle_toolbar_Previous() override;
  void handle_spin_left_Previous() override { spinVersion(false, false); }
  void handle_toolbar_Reload() override;
  void handle_toolbar_Next() override;
  void handle_spin_left_Next() override { spinVersion(false, true); }
  void handle_spin_right_Previous() override { spinVersion(true, false); }
  void filelist_handleDoubleClick(int row, int column, int clicks, xinLibSt* e) override;
  void filelist_handleRightClick(int row, int column, xinLibSt* e) override;
  void filelist_handleSingleClick(int row, int column, int clicks, xinLibSt* e) override;
  int filelist_handleCli(CmdInfo* info) override;
  void menubar_handleDims(int menu) override;

  // WTextView::KeyListener
  bool handleKey(WTextView* view, int keyCode, unsigned state, const char* chars,
                 int nchars) override;
  // MScrollListAutoToggleHandler
  void handleToggle(MScrollList* list, int row, int column) override;
  bool isMSLCellOn(const MScrollList* list, int row, int column) override;
  void handleMSLClicks(MScrollList* list, int row, int column, int clicks,
                       xinLibSt* event) override;

  // Navigation.
  void setRange(int index);
  void colorCurrentDiff(unsigned long pixel);
  void showCurrentDiff(int row);
  int currentIndex() const;
  int diffCount() const;
  static bool stealEvent(xinLibSt* event, WWindowedItem* item);
  // After each pass over the events: a window whose text has just been
  // painted for the first time says so in its published state.
  static void notePaints();

  // Loading and the aligned rows.
  bool reloadFile(bool reloadLeft, bool reloadRight, bool addToList, int line);
  void calculateDiff();
  void setupFile(bool right);
  void setupVersionField(bool right, bool underVC);
  void setupSpinButtons(bool right, bool underVC);
  void setupDirnames();
  int convertVirtualLine(WTextView* view, int row);
  int inVirtualRange(WTextView* view, int row);
  file* fileFromView(WTextView* view);
  const char* filenameFromView(WTextView* view);

  // The comparison list.
  void addFileListEntry(const DiffSides& sides, bool shown, int line);
  void setFileListEntryCount(int row, bool known);
  void configureMsl();
  void configureMenus();
  int removeSelectedEntry();
  void saveShownPosition();
  void fitListColumns(const std::string& leftVersion, const std::string& rightVersion);
  void markShown(int row);
  bool showsEntry(const FileListEntry& entry) const;

  // Menus.
  int options() const { return options_; }
  void setOptions(int options) { options_ = options; }
  // The words that differ within changed lines are shaded (View menu).
  bool lineChanges() const { return lineChanges_; }
  void setLineChanges(bool on);
  void openChooser(bool reuse);
  void editFile(WTextView* view, int row);
  void showMessage(const char* text);
  const DiffSides& sides() const { return sides_; }
  DiffStuff* comparison() const { return comparison_; }

 private:
  void takeRequest(const char* leftName, const char* leftVersion, const char* leftDate,
                   const char* rightName, const char* rightVersion, const char* rightDate);
  void finishWindow();
  bool loadSide(int side);
  void readFile(int side);
  void layAllRows();
  void initialGeometry();
  void configureViews();
  void createBrowsers();
  void spinVersion(bool right, bool next);
  void publishState();
  void versionCommand(WTextView* view, bool lastEdit);
  void updateOverview();
  void overview_handleClick(int row) override;
  std::string sideState(bool right);
  void showVersionInfo();
  void dropUnknownVersion(int side);
  void showEntry(int row);
  void popupTextMenu(WTextView* view, int row, TextElement* element, xinLibSt* e);

  int options_;
  bool lineChanges_ = true;
  std::unique_ptr<PaneRows> panes_[2];  // left, right: text and line numbers
  std::unique_ptr<SimpleBrowser> comments_;
  std::unique_ptr<SelectionMargin> margins_[2];
  std::unique_ptr<MScrollListAutoToggler> toggler_;
  std::unique_ptr<WTextView::KeyListener> listKeys_;  // keys handed on to the list
  DiffStuff* comparison_ = nullptr;
  file* files_[2] = {nullptr, nullptr};
  DiffSides sides_;
  DirectoryParts dirParts_;
  unsigned long highlight_;
  bool listStarted_ = false;
  bool opened_ = false;
  bool counted_ = false;  // in the count of open viewers
  bool painted_ = false;  // the pair shown has been painted (its left text)
  long long paintedAt_ = 0;  // when, in microseconds of the system clock
  long paintBase_ = 0;       // the left view's paint count when the pair was loaded
  std::string message_;
  std::string commentsShown_;  // "<head line> | <comment's first line>" while shown
  // Said after the difference count when a side holds NUL bytes: such a
  // file is shown as text, which the user should know.
  std::string binaryNote_;
  ContextMenuManager textMenu_, listMenu_;
  friend struct DiffViewContext;
};

// Wires the window classes into the request entry points.
void DiffViewer_registerOpeners();
// Describes the menu bar "DiffViewerMenu" (once per process).
void DiffViewer_registerMenus();
// The name in the windows' titles and the About box: the configured
// "applicationTitle", else the program's own.
const char* DiffViewer_applicationTitle();
