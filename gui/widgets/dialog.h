// Modal dialogs: a top-level window of their own that the program waits
// for in a nested loop.  While one runs, keys and button presses meant for
// the program's other windows ring the bell and raise the dialog.  Enter
// chooses the default answer, Escape and the window's close button the
// cancel answer.  Dialogs may nest (an alert over a file chooser).
#pragma once

#include <string>
#include <vector>

#include "gui/core/colwind.h"

class WButton;
class WButtonSet;

class WDialog {
 public:
  static constexpr int kMargin = 12;  // between the window's edge and its contents

  // A window of the given size, centred over `parent` when there is one.
  WDialog(ColWind* parent, const char* name, const char* title, int width, int height);
  virtual ~WDialog();  // closes the window when still open
  WDialog(const WDialog&) = delete;
  WDialog& operator=(const WDialog&) = delete;

  ColWind* window() const { return window_; }
  // Turns the loop until finish() is called or the window closes, with the
  // window modal meanwhile.  The result given to finish(), or the cancel
  // result.  The window stays (for the owner to read its fields) until the
  // dialog is deleted.
  int run();
  void finish(int result);
  bool isRunning() const { return running_; }
  void setResults(int defaultResult, int cancelResult);

  // The row of buttons at the bottom right; each press finishes the
  // dialog with the button's index unless buttonChosen says otherwise.
  WButtonSet* addButtonRow(const std::vector<std::string>& labels);
  WButtonSet* buttonRow() const { return buttons_; }
  WButton* button(int index) const;

  // The dialog that runs innermost, or null.
  static WDialog* current();

 protected:
  // Enter (unless an item used it): chooses the default; true when used.
  virtual bool acceptDefault();
  // A button of the row was pressed; the default finishes with its index.
  virtual void buttonChosen(int index) { finish(index); }

  int defaultResult_ = 0;
  int cancelResult_ = -1;

 private:
  static int onClose(ColWind* window);
  static int onEvent(xinLibSt* event, ColWind* window);
  static void onButton(WButton* button, const char* command);
  void closeWindow();

  ColWind* window_ = nullptr;
  WButtonSet* buttons_ = nullptr;
  bool running_ = false;
  bool done_ = false;
  int result_ = -1;
  WDialog* outer_ = nullptr;  // the dialog that ran when this one started
};

// A block of text lines (split at '\n') painted in the dialog's colours.
class WDialogText : public WWindowedItem {
 public:
  WDialogText(WWindowedItem* parent, DrawRect placement, const char* text);
  void setText(const char* text);
  const std::vector<std::string>& lines() const { return lines_; }
  // The room the lines need with the default font.
  static int textWidth(const std::vector<std::string>& lines);
  static std::vector<std::string> splitLines(const char* text);
  bool handleExpose(int x, int y, int width, int height) override;

 private:
  std::vector<std::string> lines_;
};

// Shows `message` with one button per label and waits.  The chosen index;
// Enter chooses `defaultIndex`, Escape and closing the window answer
// `cancelIndex`.  Without a display or labels: `cancelIndex`.
int gui_ButtonDialog(ColWind* parent, const char* title, const char* message,
                     const std::vector<std::string>& labels, int defaultIndex = 0,
                     int cancelIndex = -1);
