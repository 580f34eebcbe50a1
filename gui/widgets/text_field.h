// The single-line text field.  Editable fields take typing, the editing
// keys, selection by mouse and Shift, copy (Control+C), cut (Control+X),
// paste from PRIMARY (middle click) and CLIPBOARD (Control+V), and scroll
// sideways to keep the caret in view.  Read-only fields can be selected and
// copied but refuse changes.  A field with file-name completion completes
// the typed path as far as it is unambiguous and selects the completed
// part, so typing on replaces it and Tab accepts it.
#pragma once

#include <string>

#include "gui/core/item.h"
#include "gui/widgets/text_field_model.h"

class TextField;

// The owner finds its object through field->getTopLevel()->returnData.
using TextFieldCallback = void (*)(TextField* field);

class TextField : public WWindowedItem {
 public:
  static constexpr int kMargin = 4;  // bevel and padding around the text

  TextField(WWindowedItem* parent, DrawRect placement, bool editable = true);
  ~TextField() override;

  // Replaces the text (no change callback); the caret goes to the end.
  void setText(const char* text);
  // The text, without surrounding spaces when trimming is on.
  std::string getText() const;
  const std::string& rawText() const { return model_.text(); }
  void setTrimSpaces(bool on) { trim_ = on; }
  bool getTrimSpaces() const { return trim_; }

  void setEditable(bool editable);
  bool isEditable() const { return editable_; }
  void setDimmed(bool dimmed);
  bool isDimmed() const { return dimmed_; }
  void setAutoCompleteFile(bool on) { complete_ = on; }
  bool getAutoCompleteFile() const { return complete_; }

  // Enter pressed; any change the user made (typing, deleting, pasting).
  void setEnterCallback(TextFieldCallback callback) { enter_ = callback; }
  void setChangeCallback(TextFieldCallback callback) { change_ = callback; }
  void setUserData(void* data) { userData_ = data; }
  void* getUserData() const { return userData_; }

  size_t caret() const { return model_.caret(); }
  std::string selectedText() const { return model_.selectedText(); }
  void select(size_t anchor, size_t caret);
  void selectAll();
  // Inserts at the caret as a paste does: one line, editable fields only;
  // false when refused.
  bool pasteText(const std::string& text);
  // Asks for the PRIMARY (or CLIPBOARD) text; it arrives later and is
  // inserted at the caret.
  void requestPaste(bool clipboard);
  // How far the text is scrolled to the left, in pixels.
  int scrollOffset() const { return scroll_; }
  // A height that fits one line of the default font.
  static int preferredHeight();

  bool handleExpose(int x, int y, int width, int height) override;
  bool handleConfigure(int width, int height) override;
  bool handleMousePress(xinLibSt* event) override;
  bool handleMouseMotion(xinLibSt* event) override;
  bool handleMouseRelease(xinLibSt* event) override;
  bool handleKey(xinLibSt* event) override;
  bool handleSelClear(xinLibSt* event) override;
  bool handleSelText(xinLibSt* event) override;  // a paste's answer

 private:
  bool editingKey(xinLibSt* e);
  bool controlKey(xinLibSt* e);
  void typeText(const std::string& text);
  void userChanged();
  void offerPrimary();
  // Geometry of the characters, rebuilt after every change of the text.
  void measure();
  int xOfOffset(size_t offset);
  size_t offsetAtX(int x);
  void scrollToCaret();
  void changed();  // text or caret moved: measure, scroll, repaint
  void paintText(DrawTarget* t);

  TextFieldModel model_;
  bool editable_, trim_ = false, dimmed_ = false, complete_ = false;
  bool dragging_ = false;
  int scroll_ = 0;
  std::vector<size_t> bounds_;  // byte offset of every character boundary
  std::vector<int> xs_;         // x of each boundary, from the text's start
  TextFieldCallback enter_ = nullptr, change_ = nullptr;
  void* userData_ = nullptr;
};

// Turns file-name completion on or off for the field.
void tf_AutoCompleteFile(TextField* field, bool on);
