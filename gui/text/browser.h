// The browser: the front end through which a program fills a text view.
// It turns strings into elements (splitting at tabs and newlines, wrapping,
// interning the text so identical lines share one buffer), ends lines with
// boxes or bars, adds separator bars, and recolours ranges of lines with
// the old colours kept for a later revert.
#pragma once

#include <map>
#include <memory_resource>
#include <set>
#include <string_view>
#include <vector>

#include "gui/text/text_elements.h"
#include "gui/text/text_store.h"

class WTextView;

class SimpleBrowser {
 public:
  // Makes the store (an ArrayStore when `useArrayStore`, else a
  // SimpleTextStore), sets the view's tab stop to eight characters of the
  // text font and shows the store in the view.
  SimpleBrowser(WTextView* view, bool useArrayStore);
  ~SimpleBrowser();
  SimpleBrowser(const SimpleBrowser&) = delete;
  SimpleBrowser& operator=(const SimpleBrowser&) = delete;

  static const char* const emptyString;

  // Left margin in pixels (ignored when negative).
  void setMargin(int pixels);
  // Gives every line the control background (on) or the view's (off).
  void setReadOnlyBackground(bool on);

  // Text in the foreground colour on the current background, in the text
  // font; a negative length means up to the terminating zero.  Tabs become
  // tab elements and newlines line ends.
  void addText(const char* text, int length = -1);
  void addRedText(const char* text, int length = -1);
  void addBigText(const char* text, int length = -1);
  void addBigRedText(const char* text, int length = -1);
  // A background of -1 or -2 means the view's background.
  void addColoredText(const char* text, long fg, long bg, int length = -1);
  void addBigColoredText(const char* text, long fg, long bg, int length = -1);
  void addLink(HyperLinkCallback callback, void* data, const char* text, int length = -1);

  // Ends the line; any colour but -1 also paints the rest of the line.
  void addLineBreak(long colour = -1);
  void addJustLineBreak();
  // Appends a caller-made element; the store takes ownership.
  void addElement(TextElement* element);
  // A box (or a spanning bar); a negative width ends the line after it;
  // with `inCharacters` the sizes count characters and lines of the text font.
  void addColoredLine(long colour, int width, int height, bool inCharacters, bool spanning);
  void addSplit();
  void addRedSplit();
  void addRedBar();

  // Recolour the elements of lines first..last; with `save` the old colours
  // are kept for revertColor.
  void changeBackgroundColor(int firstLine, int lastLine, long colour, bool save);
  void changeForegroundColor(int firstLine, int lastLine, long colour, bool save);
  void revertColor(int firstLine, int lastLine, bool foreground);
  void clearReversions();
  void notifyElementChanged(TextElement* element);

  void startBatch();
  void endBatch();
  void clear();
  void removeAllText();

  // The whole text as a new string (the caller frees it).
  char* getText();
  // Writes the header line (when given) and the text; false when the file
  // cannot be opened for writing.
  bool saveText(const char* file, const char* header);
  // Prints through the system's print command; false when there is none or
  // printing failed.
  bool printText(const char* header);

  // Wraps added text at `width` pixels (0 or less: no wrapping), starting
  // continuation lines with `indentCount` copies of `indentString`.
  void setAutoWrap(int width, int indentCount, const char* indentString);

  TextStore* getStore() { return store_; }
  WTextView* getView() { return view_; }
  int getInternedCount() const { return static_cast<int>(interned_.size()); }
  bool isAtLineStart() const { return atLineStart_; }

 private:
  static constexpr int kNoWrap = 0x7fffffff;
  void addSomeText(const char* text, int length, long fg, long bg, int font, bool link,
                   HyperLinkCallback callback, void* data);
  void addCleanText(const char* text, int length, long fg, long bg, int font, bool link,
                    HyperLinkCallback callback, void* data);
  void insert(TextElement* element);
  std::string copyAndWrap(const char* text, int length, int font);
  std::string_view intern(std::string_view text);
  void changeSomeColor(int first, int last, long colour, bool foreground, bool save,
                       bool revert);
  long currentBackground();
  long resolveBackground(long bg);
  int fontHeight(int font);
  int fontWidth(int font);

  WTextView* view_;
  TextStore* store_;
  int margin_ = 0;
  bool atLineStart_ = true;
  bool readOnlyBackground_ = false;
  int wrapWidth_ = kNoWrap;
  int wrapIndentCount_ = 0;
  char* wrapIndent_ = nullptr;
  // Interned texts: the texts and the set's nodes come from one pool that
  // is released as a whole when the browser is cleared.
  std::pmr::monotonic_buffer_resource internPool_;
  std::pmr::set<std::string_view> interned_{&internPool_};
  void freeInterned();
  std::map<TextElement*, long> savedForeground_;
  std::map<TextElement*, long> savedBackground_;
};
