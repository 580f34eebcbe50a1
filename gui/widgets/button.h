// Push buttons and button sets.  A button shows a label, a named picture
// (gui/bitmap.h) or both, looks pressed while the mouse holds it, and calls
// its callback when released over it, or on Space or Enter while it is the
// window's active item.  A button set lays buttons and separators out in a
// row or column (tool bar, spin pair, dialog button row) and reports every
// activation to one command handler with the button's command word.
// Dimmed buttons ignore input and paint greyed.
#pragma once

#include <string>
#include <vector>

#include "gui/core/item.h"

class WButton;
class WButtonSet;
struct WBitmap;

// The owner finds its object through button->getTopLevel()->returnData and
// uses button->aliveToken() to tell whether the button survived the call.
using WButtonCallback = void (*)(WButton* button);
using WButtonSetCommand = void (*)(WButton* button, const char* command);

class WButton : public WWindowedItem {
 public:
  // An empty or null bitmap name means a label only.
  WButton(WWindowedItem* parent, DrawRect placement, const char* label,
          const char* bitmapName = nullptr);

  void setLabel(const char* label);
  const std::string& getLabel() const { return label_; }
  // An unknown name leaves the button without a picture.
  void setBitmap(const char* name);
  const std::string& getBitmapName() const { return bitmapName_; }
  // Whether the label is painted beside a picture (always without one).
  void setLabelShown(bool shown);
  // The word the set's command handler receives; the label when unset.
  void setCommand(const char* command) { command_ = command ? command : ""; }
  const std::string& getCommand() const { return command_.empty() ? label_ : command_; }

  void setCallback(WButtonCallback callback) { callback_ = callback; }
  void setUserData(void* data) { userData_ = data; }
  void* getUserData() const { return userData_; }

  void setDimmed(bool dimmed);
  bool isDimmed() const { return dimmed_; }
  // True while the mouse holds the button down over it.
  bool looksPressed() const { return pressed_ && inside_; }

  // What a click does: the callback, then the set's handler; nothing when
  // dimmed.
  void activate();
  // The size that fits the picture and label with the button's margins.
  int preferredWidth() const;
  int preferredHeight() const;

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleMouseMotion(xinLibSt* event) override;
  bool handleMouseRelease(xinLibSt* event) override;
  bool handleKey(xinLibSt* event) override;

 private:
  friend class WButtonSet;
  void paintFace(DrawTarget* t);
  bool labelVisible() const;

  std::string label_, bitmapName_, command_;
  const WBitmap* bitmap_ = nullptr;
  bool labelShown_ = true;
  bool dimmed_ = false;
  bool pressed_ = false;
  bool inside_ = false;
  WButtonCallback callback_ = nullptr;
  WButtonSet* set_ = nullptr;
  void* userData_ = nullptr;
};

class WButtonSet : public WWindowedItem {
 public:
  enum Orientation { kHorizontal, kVertical };
  static constexpr int kGap = 4;             // between neighbouring buttons
  static constexpr int kSeparatorSpace = 10;  // taken by a separator

  WButtonSet(WWindowedItem* parent, DrawRect placement, Orientation orientation);

  // Appends a button; a label "-" appends a separator and answers null.
  // The command defaults to the label; the tool tip is "short@@long".
  WButton* addButton(const char* label, const char* bitmapName = nullptr,
                     const char* command = nullptr, const char* toolTip = nullptr);
  void addSeparator();

  // Buttons in order, separators not counted.
  int count() const { return static_cast<int>(buttons_.size()); }
  WButton* buttonAt(int index) const;
  // By label or by command word; null when none has it.
  WButton* findByLabel(const char* label) const;
  WButton* findByCommand(const char* command) const;
  // By label or command (the label is tried first); false when none.
  bool setDimmed(const char* name, bool dimmed);
  bool isDimmed(const char* name) const;
  // Hidden buttons take no room; the others close up.
  bool setButtonShown(const char* name, bool shown);

  void setCommandHandler(WButtonSetCommand handler) { handler_ = handler; }
  WButtonSetCommand getCommandHandler() const { return handler_; }
  // Every button gets this size (the tool bar's 92 x 28); 0 x 0 sizes each
  // button to its contents.
  void setButtonSize(int width, int height);
  // Labels beside pictures, for buttons added afterwards and those present.
  void setShowLabels(bool shown);
  // Room between neighbouring buttons (kGap unless set; 0 for spin pairs).
  void setGap(int pixels);

  // Places the shown buttons from the set's start; the owner calls it after
  // changing the set's geometry (adding and hiding do it themselves).
  void layout();
  // The room the shown buttons need.
  int preferredWidth() const;
  int preferredHeight() const;

  bool handleExpose(int x, int y, int width, int height) override;

 private:
  struct Slot {
    WButton* button;  // null: a separator
  };
  WButton* find(const char* name) const;
  int buttonWidth(const WButton* b) const;
  int buttonHeight(const WButton* b) const;
  // Length of one slot along the set; 0 for a hidden button.
  int slotLength(const Slot& slot) const;

  Orientation orientation_;
  std::vector<Slot> slots_;
  std::vector<WButton*> buttons_;
  WButtonSetCommand handler_ = nullptr;
  int fixedWidth_ = 0, fixedHeight_ = 0;
  bool showLabels_ = true;
  int gap_ = kGap;
  std::vector<int> separators_;  // centres of the shown separators
};

// A spin pair: "Next" and "Previous" side by side, arrow bitmaps without
// labels, each `width` by `height`; the commands are "Next" and
// "Previous".  Tool tips in the "text@@long text" form.
WButtonSet* bt_SpinPair(WWindowedItem* parent, const char* nextTip, const char* previousTip,
                        int width, int height, WButtonSetCommand handler);
