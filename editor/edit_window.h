// The editor window's parts, private to editor/: the top-level window, the
// text view with its scroll bars, the rows it shows (built from the
// buffer on demand), and the register of files shown in windows, which
// shares one buffer among the windows of a file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/buffer.h"
#include "gui/core/item.h"
#include "gui/text/row_store.h"

class ColWind;
class WScrollBar;
class WTextView;
struct ColorInfo;
struct Edit;

// The rows of a window: each line as text runs with the selection and the
// caret drawn in, on the difference colour when it lies in a range.
class EditRows : public RowSource {
 public:
  explicit EditRows(Edit* edit) : edit_(edit) {}
  int rowCount() override;
  int rowHeight(int row) override;
  void buildRow(int row, RowContents& out) override;

 private:
  unsigned long background(int row);
  Edit* edit_;
  int height_ = 0;
};

// Every window of a file shares its buffer; the entry hears its changes.
struct EditFileEntry : EditBuffer::Listener {
  explicit EditFileEntry(file* f) : buffer(f) { buffer.setListener(this); }
  void bufferChanged(long first, long last, bool linesMoved) override;
  EditBuffer buffer;
  std::vector<Edit*> windows;
};

struct Edit {
  ColWind* window = nullptr;
  WTextView* view = nullptr;
  WScrollBar* vbar = nullptr;
  WScrollBar* hbar = nullptr;
  EditFileEntry* entry = nullptr;
  std::unique_ptr<EditRows> rows;
  std::unique_ptr<RowStore> store;
  ColorInfo* colors = nullptr;
  bool ownsColors = true;
  bool embedded = false;  // inside another window (a dialogue)
  bool stale = false;     // changed during a batch, not yet shown
  std::string label;
  bool dragging = false;
  bool (*closeHandler)(Edit*, void*) = nullptr;
  void* closeData = nullptr;
  bool programClose = false;

  EditBuffer& buffer() { return entry->buffer; }
};

// The entry of a file shown in a window, or null.
EditFileEntry* edit_EntryOf(file* f);
// Every open editor window.
std::vector<Edit*> edit_AllWindows();

// ---- edit_view.cpp: what the window shows ----
// Lays the view and bars out over `area` of their parent.
void edit_Layout(Edit* edit, DrawRect area);
// Scrolls so that the caret is in view.
void edit_RevealCaret(Edit* edit);
// The text position under a point of the view's window.
EditPos edit_PosAt(Edit* edit, int x, int y);
// The column (in character cells, tabs expanded) of a byte of a line, and
// back.
long edit_CellOf(const std::string& text, long col);
long edit_ColAtCell(const std::string& text, long cell);
// Writes the window's state (label, caret, selection, lines, modified)
// into its published state text.
void edit_Publish(Edit* edit);
// The window and its file changed: rows rebuilt, state published.
void edit_Refresh(Edit* edit, long first, long last, bool linesMoved);

// ---- edit_keys.cpp: the keys and the mouse ----
// Sees the view's events before the view: keys, clicks, pastes.
bool edit_Filter(xinLibSt* event, WWindowedItem* item, void* data);
