// DiffViewer_GUI: the viewer window's shell.  It owns the top-level window,
// holds one pointer per named widget, lays the widgets out whenever the
// window changes size, and turns every widget callback into a virtual
// operation.  The defaults do nothing; DiffViewer_Impl gives them meaning.
//
// From top to bottom the window shows: the menu bar, the tool bar, the two
// text halves (each a line-number gutter and a text view with its own
// horizontal scroll bar) split by a vertical bar and sharing one vertical
// scroll bar, a horizontal splitter, the row of name and version fields
// with the spin buttons, the bottom pane (the comparison list on the left,
// the version comment pane on the right) and the message line.
#pragma once

#include <string>

#include "gui/core/generated_window.h"
#include "gui/core/placer.h"

class ColWind;
class MScrollList;
class TextField;
class WButton;
class WButtonSet;
class WMenuBar;
class WMessageLine;
class WScrollBar;
class WSplitter;
class WStaticText;
class WTextView;
class WWindowedItem;
struct CmdInfo;
struct xinLibSt;

class OverviewStrip;

class DiffViewer_GUI : public WGeneratedWindow {
 public:
  DiffViewer_GUI() : WGeneratedWindow("DiffViewer") {}

  WMenuBar* menubar = nullptr;
  WTextView* lineno_left = nullptr;
  WTextView* view_left = nullptr;
  WScrollBar* scrollbar_left = nullptr;
  WTextView* lineno_right = nullptr;
  WTextView* view_right = nullptr;
  WScrollBar* scrollbar_right = nullptr;
  WSplitter* view_splitter = nullptr;
  WScrollBar* view_scrollbar = nullptr;
  OverviewStrip* overview = nullptr;  // beside the shared scroll bar
  WMessageLine* status = nullptr;
  WTextView* view_comments = nullptr;
  WScrollBar* vscrollbar_comments = nullptr;
  WScrollBar* hscrollbar_comments = nullptr;
  TextField* tf_filename_left = nullptr;
  TextField* tf_filename_right = nullptr;
  WStaticText* txt_version_left = nullptr;
  WStaticText* txt_version_right = nullptr;
  TextField* tf_version_left = nullptr;
  TextField* tf_version_right = nullptr;
  WSplitter* comment_splitter = nullptr;
  WButtonSet* spin_left = nullptr;
  WButtonSet* spin_right = nullptr;
  MScrollList* filelist = nullptr;
  WButtonSet* toolbar = nullptr;
  WStaticText* t_version_left = nullptr;
  WStaticText* t_version_right = nullptr;

  // The buttons inside the tool bar and the spin pairs.
  WButton* toolbar_Previous = nullptr;
  WButton* toolbar_Next = nullptr;
  WButton* toolbar_Reload = nullptr;
  WButton* spin_left_Next = nullptr;
  WButton* spin_left_Previous = nullptr;
  WButton* spin_right_Next = nullptr;
  WButton* spin_right_Previous = nullptr;

  // The widget of that name, or null.
  WWindowedItem* widget(const std::string& name) const;

  // A new size lays the window out again.
  void CallEvent(xinLibSt* event) override;
  virtual void handle_spin_right_Next() {}
  virtual void handle_toolbar_Previous() {}
  virtual void handle_spin_left_Previous() {}
  virtual void handle_toolbar_Reload() {}
  virtual void handle_toolbar_Next() {}
  virtual void handle_spin_left_Next() {}
  virtual void handle_spin_right_Previous() {}
  virtual void filelist_handleDoubleClick(int, int, int, xinLibSt*) {}
  virtual void filelist_handleRightClick(int, int, xinLibSt*) {}
  virtual void filelist_handleSingleClick(int, int, int, xinLibSt*) {}
  virtual int filelist_handleCli(CmdInfo*) { return 0; }
  virtual void menubar_handleDims(int) {}
  virtual void overview_handleClick(int /*row*/) {}

  // Lays the widgets out for a window of that size.  The vertical splitter
  // keeps its share of the width, the bottom pane its height.
  void layout(int width, int height);
  // Resizes a side's gutter (the layout follows).
  void setGutterWidth(bool right, int width);
  // The bottom pane's height below the field row (the list and comments).
  void setBottomPaneHeight(int height) { bottomHeight_ = height; }
  // Shows the "File on disk" text in place of a side's version label and
  // field, or the label and field.
  void showFileOnDisk(bool right, bool onDisk);
  void showComments(bool shown);

 private:
  friend bool DiffViewer_create(DiffViewer_GUI* gui, const char* title);
  void buildPlacer();
  void setPlacerSizes();

  WPlacer placer_;  // the arrangement, as rules (diffviewer_layout.cpp)

  int gutterWidth_[2] = {40, 40};
  int bottomHeight_ = 120;
  double splitShare_ = 0.5;  // the vertical bar's place in the text area
  int width_ = 0, height_ = 0;
  bool laying_ = false;
};

// Builds the window and every widget; false when the window cannot be
// made (no display).
bool DiffViewer_create(DiffViewer_GUI* gui, const char* title);
// The object stored in a window of the class, or null.
DiffViewer_GUI* DiffViewer_fromWindow(ColWind* window);

// The window register's class number of viewer windows.
constexpr int kViewerWindowClass = 13;

// Geometry of the viewer's layout shared with its model.
namespace dv_layout {
constexpr int kBar = 14;          // scroll bar thickness
constexpr int kEdge = 4;          // the text area's distance from the window edge
constexpr int kToolbarHeight = 28;
constexpr int kToolbarButtonWidth = 92;
constexpr int kSpinButtonWidth = 24;
constexpr int kVersionChars = 9;  // width of a version field
}  // namespace dv_layout
