// The column list (`MScrollList`): rows of text cells under an optional
// header, one selected row, a vertical scroll bar, owner-drawn and owner-
// coloured cells, user data per row with a clean-up function, callbacks for
// clicks and selection changes, and key commands compiled from binding
// texts ("d|Control=Cli Remove").  Rows and columns count from 0.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/core/item.h"
#include "gui/text/scroller.h"

class MScrollList;
class MScrollListAutoToggler;
class WScrollBar;

// What a compiled key command hands its handler.
struct CmdInfo {
  const char* kind;     // "Cli"
  const char* command;  // "Remove"
  const char* line;     // the binding text it was compiled from
  int row;              // the selected row, -1 for none
  xinLibSt* event;      // the key event
};

// The answer of a command handler that handled the command itself.
constexpr int MSL_CMD_HANDLED = -100;

// A mouse click, or a selection change by key (then `event->type` is
// WEV_KEY, `column` 0 and `clicks` 1).
using MslClickFn = void (*)(MScrollList* list, int row, int column, int clicks,
                            xinLibSt* event);
using MslRightClickFn = void (*)(MScrollList* list, int row, int column, xinLibSt* event);
// The selected row changed by mouse or key; -1 when nothing is selected.
using MslSelectionFn = void (*)(MScrollList* list, int row);
// Paints one cell; false leaves the cell to the list's own painting.  The
// target is clipped to `cell`, whose background is already painted.
using MslDrawCellFn = bool (*)(MScrollList* list, DrawTarget* target, DrawRect cell, int row,
                               int column);
// A button-1 click on a header cell.
using MslHeaderClickFn = void (*)(MScrollList* list, int column);
// Frees a row's user data (called for non-null data only).
using MslCleanupFn = void (*)(void* userData);
// Answers MSL_CMD_HANDLED when it handled the command.
using MslCommandFn = int (*)(MScrollList* list, CmdInfo* info);

class MScrollList : public WWindowedItem, public Scrollee {
 public:
  static constexpr int kCellPadding = 4;     // text inset on each side of a cell
  static constexpr int kScrollBarWidth = 14;  // the vertical bar at the right edge

  MScrollList(WWindowedItem* parent, DrawRect placement, int columns);
  ~MScrollList() override;  // cleans up every row's user data

  // ---- columns -------------------------------------------------------------
  int getColumnCount() const { return static_cast<int>(columns_.size()); }
  void setColumnCount(int columns);
  void setColumnWidth(int column, int width);
  int getColumnWidth(int column) const;
  // Auto-width columns take the width of their widest text (label
  // included) plus the padding whenever recomputeColumnWidths runs.
  void setColumnAutoWidth(int column, bool on);
  void recomputeColumnWidths();
  // The width a column's widest text (label included) needs, with padding.
  int contentWidth(int column) const;
  void setColumnLabel(int column, const char* label);
  void showHeader(bool on);
  bool isHeaderShown() const { return header_; }

  // ---- rows ----------------------------------------------------------------
  int getRowCount() const { return static_cast<int>(rows_.size()); }
  // Appends a row with up to n cell texts; its index.
  int appendRow(const char* const* cells = nullptr, int n = 0, void* userData = nullptr);
  // Inserts before `row` (the row count appends); -1 when out of range.
  int insertRow(int row, const char* const* cells = nullptr, int n = 0,
                void* userData = nullptr);
  // Deletes a row, cleaning up its data.  The selection follows its row;
  // a deleted selected row passes the selection to the row now at its
  // place, or to the new last row.  False when out of range.
  bool deleteRow(int row);
  void deleteAllRows();
  bool setCellText(int row, int column, const char* text);
  // The cell's text, "" out of range.
  const char* getCellText(int row, int column) const;
  // Own colours for one cell; a selected row keeps the selection colours.
  bool setCellColours(int row, int column, Pixel fg, Pixel bg);
  bool clearCellColours(int row, int column);
  bool setUserData(int row, void* userData);  // the old data is not cleaned up
  void* getUserData(int row) const;
  void setUserDataCleanup(MslCleanupFn cleanup) { cleanup_ = cleanup; }
  int findUserData(const void* userData) const;  // the row, or -1

  // ---- selection -------------------------------------------------------------
  int getSelectedRow() const { return selected_; }
  // Selects a row (-1: none) and scrolls it into view.  With `callClick`
  // the single-click path follows as for a button-1 press on column 0.
  void setSelectedRow(int row, bool callClick = false);

  // ---- callbacks --------------------------------------------------------------
  void setSingleClickCallback(MslClickFn fn) { singleClick_ = fn; }
  // Presses with a click count of 2 go here when set, else to single click.
  void setDoubleClickCallback(MslClickFn fn) { doubleClick_ = fn; }
  void setRightClickCallback(MslRightClickFn fn) { rightClick_ = fn; }
  void setSelectionCallback(MslSelectionFn fn) { selectionChanged_ = fn; }
  void setCellDrawer(MslDrawCellFn fn) { drawCell_ = fn; }
  void setHeaderClickCallback(MslHeaderClickFn fn) { headerClick_ = fn; }
  void setCommandHandler(MslCommandFn fn) { commandHandler_ = fn; }
  void* clientData = nullptr;  // for the owner's callbacks

  // ---- commands and keys ---------------------------------------------------------
  // Compiles binding lines "<key>[|<modifiers>]=Cli <command>"; keys are a
  // character or a quoted key name ("\"Delete\""), modifiers Control, Shift,
  // Alt.  Malformed lines are warned about and skipped; the number kept.
  int compileCommands(const char* const* lines, int n);
  // A key from this list or passed on from another item: selection moves,
  // then compiled commands.  True when the list used it.
  bool takeKey(xinLibSt* event);

  // ---- painting and scrolling ------------------------------------------------------
  void redrawCell(int row, int column);
  void redrawRow(int row);
  int getRowHeight() const { return rowHeight_; }
  int getHeaderHeight() const { return header_ ? rowHeight_ : 0; }
  DrawRect cellRect(int row, int column) const;  // in the list's window
  int bodyWidth() const;                         // without the scroll bar
  void scrollToRow(int row);                     // the row becomes the first shown
  int firstVisibleRow() const;
  WScrollBar* getScrollBar() const { return scrollBar_; }

  // ---- item handlers ------------------------------------------------------------
  bool handleExpose(int x, int y, int width, int height) override;
  bool handleConfigure(int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleKey(xinLibSt* event) override { return takeKey(event); }

  // ---- Scrollee --------------------------------------------------------------------
  void setHScroller(Scroller*) override {}
  void setVScroller(Scroller* scroller) override;
  Scroller* getHScroller() override { return nullptr; }
  Scroller* getVScroller() override { return vScroller_; }
  void handleHScroll(long) override {}
  void handleVScroll(long position) override;
  bool getVisible(int direction) override { return direction == SCROLL_VERTICAL; }
  long getMinScroll(int) override { return 0; }
  long getMaxScroll(int direction) override;
  long getPixStep(int direction) override { return direction == SCROLL_VERTICAL ? rowHeight_ : 1; }
  long getLineStep(int direction) override { return getPixStep(direction); }
  long getPageStep(int direction) override;

 private:
  friend class MScrollListAutoToggler;
  struct Cell {
    std::string text;
    bool coloured = false;
    Pixel fg = 0, bg = 0;
  };
  struct Row {
    std::vector<Cell> cells;
    void* userData = nullptr;
  };
  struct Column {
    int width = 0;
    bool autoWidth = false;
    std::string label;
  };
  struct KeyCommand {
    int code;
    unsigned modifiers;
    std::string kind, command, line;
  };

  bool validCell(int row, int column) const;
  Row makeRow(const char* const* cells, int n, void* userData) const;
  void cleanUp(Row& row);
  void rowsChanged();
  void layoutScrollBar();
  int bodyHeight() const;
  std::vector<int> widths() const;
  void paintHeader(DrawTarget* t);
  void paintRow(DrawTarget* t, int row);
  void paintCell(DrawTarget* t, int row, int column, DrawRect cell, bool selected);
  void select(int row, xinLibSt* keyEvent);
  void clickPath(int row, int column, int clicks, xinLibSt* event);
  bool runCommand(const KeyCommand& k, xinLibSt* event);
  bool moveByKey(int key, xinLibSt* event);
  bool takeTypedAhead(xinLibSt* event);

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  std::vector<KeyCommand> commands_;
  bool header_ = false;
  int selected_ = -1;
  int rowHeight_;
  long top_ = 0;
  WScrollBar* scrollBar_ = nullptr;
  Scroller* vScroller_ = nullptr;
  MScrollListAutoToggler* toggler_ = nullptr;
  MslClickFn singleClick_ = nullptr;
  MslClickFn doubleClick_ = nullptr;
  MslRightClickFn rightClick_ = nullptr;
  MslHeaderClickFn headerClick_ = nullptr;
  MslSelectionFn selectionChanged_ = nullptr;
  MslDrawCellFn drawCell_ = nullptr;
  MslCommandFn commandHandler_ = nullptr;
  MslCleanupFn cleanup_ = nullptr;
};

// The list's operations under the toolkit's short prefix.
int mslCompileCommands(MScrollList* list, const char* const* lines, int n);

// What a toggle column asks and tells its owner.
class MScrollListAutoToggleHandler {
 public:
  virtual ~MScrollListAutoToggleHandler() = default;
  // A click on a toggle cell.
  virtual void handleToggle(MScrollList* list, int row, int column) = 0;
  // Whether a toggle cell shows "on".
  virtual bool isMSLCellOn(const MScrollList* list, int row, int column) = 0;
  // Every other single-click path call (mouse clicks elsewhere, keys).
  virtual void handleMSLClicks(MScrollList* list, int row, int column, int clicks,
                               xinLibSt* event) = 0;
};

// Makes columns of a list toggle cells: painted as a check box, on or off
// as the handler says, a click on one calls handleToggle.  While it exists
// it takes the list's single-click path (the single-click callback is not
// called); double and right clicks stay the list's.  Delete it before the
// list or let the list outlive it; either order is safe.
class MScrollListAutoToggler {
 public:
  MScrollListAutoToggler(MScrollList* list, std::vector<int> toggleColumns,
                         MScrollListAutoToggleHandler* handler);
  ~MScrollListAutoToggler();
  MScrollListAutoToggler(const MScrollListAutoToggler&) = delete;
  MScrollListAutoToggler& operator=(const MScrollListAutoToggler&) = delete;

  bool isToggleColumn(int column) const;
  MScrollList* getList() const { return list_; }

 private:
  friend class MScrollList;
  void drawToggle(DrawTarget* t, DrawRect cell, int row, int column, bool selected);
  void click(int row, int column, int clicks, xinLibSt* event);
  void listGone() { list_ = nullptr; }

  MScrollList* list_;
  std::vector<int> columns_;
  MScrollListAutoToggleHandler* handler_;
};
