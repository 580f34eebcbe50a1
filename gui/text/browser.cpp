// The browser's filling operations: text split into runs, tabs and line
// ends, the margin box at the start of each line, line breaks, boxes and
// bars, and the interned copies of the text.
#include "gui/text/browser.h"

#include <cassert>
#include <cstring>

#include "base/gen.h"
#include "gui/core/pixels.h"
#include "gui/text/store_array.h"
#include "gui/text/store_simple.h"
#include "gui/text/text_metrics.h"
#include "gui/text/textview.h"

const char* const SimpleBrowser::emptyString = "";

SimpleBrowser::SimpleBrowser(WTextView* view, bool useArrayStore)
    : view_(view),
      store_(useArrayStore ? static_cast<TextStore*>(new ArrayStore)
                           : static_cast<TextStore*>(new SimpleTextStore)) {
  view_->setTabStop(8 * fontWidth(VF_TEXT));
  view_->setTextStore(store_);
}

SimpleBrowser::~SimpleBrowser() {
  view_->setTextStore(nullptr);
  store_->removeTextChangeListener(view_);
  removeAllText();
  delete store_;
  gen_free(wrapIndent_);
  clearReversions();
  freeInterned();
}

int SimpleBrowser::fontHeight(int font) { return view_->getMetrics().fontHeight(font); }
int SimpleBrowser::fontWidth(int font) { return view_->getMetrics().fontCharWidth(font); }

long SimpleBrowser::currentBackground() {
  return readOnlyBackground_ ? static_cast<long>(control_pixel)
                             : static_cast<long>(view_->getBackgroundPixel());
}

long SimpleBrowser::resolveBackground(long bg) {
  return bg == -1 || bg == -2 ? static_cast<long>(view_->getBackgroundPixel()) : bg;
}

void SimpleBrowser::setMargin(int pixels) {
  if (pixels >= 0) margin_ = pixels;
}

void SimpleBrowser::insert(TextElement* element) {
  store_->insertText(element, nullptr);
  atLineStart_ = false;
}

std::string_view SimpleBrowser::intern(std::string_view text) {
  if (text.empty()) return std::string_view(emptyString, 0);
  auto found = interned_.find(text);
  if (found != interned_.end()) return *found;
  char* copy = static_cast<char*>(internPool_.allocate(text.size(), 1));
  std::memcpy(copy, text.data(), text.size());
  return *interned_.insert(std::string_view(copy, text.size())).first;
}

void SimpleBrowser::freeInterned() {
  interned_.clear();
  internPool_.release();
}

void SimpleBrowser::addCleanText(const char* text, int length, long fg, long bg, int font,
                                 bool link, HyperLinkCallback callback, void* data) {
  if (atLineStart_) store_->insertText(new ColorBox(bg, margin_, fontHeight(font)), nullptr);
  if (length == 0)
    insert(new ColorText(static_cast<long>(fg_pixel), currentBackground(), font, emptyString, 0));
  else if (link)
    insert(new HyperLink(fg, bg, font, text, length, callback, data));
  else
    insert(new ColorText(fg, bg, font, text, length));
}

void SimpleBrowser::addSomeText(const char* text, int length, long fg, long bg, int font,
                                bool link, HyperLinkCallback callback, void* data) {
  assert(text != nullptr && "buf != (0L)");
  if (!text || length == 0) return;
  if (length < 0) length = static_cast<int>(std::strlen(text));
  // Unwrapped text is interned as it is, without an intermediate copy.
  std::string wrapped;
  if (wrapWidth_ != kNoWrap) wrapped = copyAndWrap(text, length, font);
  std::string_view s = intern(wrapWidth_ != kNoWrap ? std::string_view(wrapped)
                                                    : std::string_view(text, length));
  int run = 0;
  bool tabLast = false;
  for (int i = 0; i < static_cast<int>(s.size()); i++) {
    if (s[i] == '\t') {
      if (i > run) addCleanText(s.data() + run, i - run, fg, bg, font, link, callback, data);
      insert(new ColorTab(bg, fontHeight(VF_TEXT)));
      tabLast = true;
      run = i + 1;
    } else if (s[i] == '\n') {
      if (i > run) addCleanText(s.data() + run, i - run, fg, bg, font, link, callback, data);
      else if (!tabLast) addCleanText(s.data() + run, 0, fg, bg, font, link, callback, data);
      store_->insertBreak(nullptr);
      atLineStart_ = true;
      tabLast = false;
      run = i + 1;
    } else {
      tabLast = false;
    }
  }
  if (run < static_cast<int>(s.size()))
    addCleanText(s.data() + run, static_cast<int>(s.size()) - run, fg, bg, font, link, callback,
                 data);
}

void SimpleBrowser::addText(const char* text, int length) {
  addSomeText(text, length, fg_pixel, currentBackground(), VF_TEXT, false, nullptr, nullptr);
}

void SimpleBrowser::addRedText(const char* text, int length) {
  addSomeText(text, length, red_pixel, currentBackground(), VF_TEXT, false, nullptr, nullptr);
}

void SimpleBrowser::addBigText(const char* text, int length) {
  addSomeText(text, length, fg_pixel, currentBackground(), VF_BIG, false, nullptr, nullptr);
}

void SimpleBrowser::addBigRedText(const char* text, int length) {
  addSomeText(text, length, red_pixel, currentBackground(), VF_BIG, false, nullptr, nullptr);
}

void SimpleBrowser::addColoredText(const char* text, long fg, long bg, int length) {
  addSomeText(text, length, fg, resolveBackground(bg), VF_TEXT, false, nullptr, nullptr);
}

void SimpleBrowser::addBigColoredText(const char* text, long fg, long bg, int length) {
  addSomeText(text, length, fg, resolveBackground(bg), VF_BIG, false, nullptr, nullptr);
}

void SimpleBrowser::addLink(HyperLinkCallback callback, void* data, const char* text,
                            int length) {
  addSomeText(text, length, keyword_fg, currentBackground(), VF_TEXT, true, callback, data);
}

void SimpleBrowser::addLineBreak(long colour) {
  long c = colour == -1 ? currentBackground() : colour;
  store_->insertText(new ColorBox(c, fontWidth(VF_TEXT) / 2, fontHeight(VF_TEXT)), nullptr);
  if (colour != -1) store_->insertText(new ColorLine(c, fontHeight(VF_TEXT)), nullptr);
  addJustLineBreak();
}

void SimpleBrowser::addJustLineBreak() {
  store_->insertBreak(nullptr);
  atLineStart_ = true;
}

void SimpleBrowser::addElement(TextElement* element) {
  if (element) insert(element);
}

void SimpleBrowser::addColoredLine(long colour, int width, int height, bool inCharacters,
                                   bool spanning) {
  bool endLine = width < 0;
  if (endLine) width = -width;
  if (inCharacters) {
    if (!endLine) width *= fontWidth(VF_TEXT);
    height *= fontHeight(VF_TEXT);
  }
  if (spanning) insert(new ColorLine(colour, height));
  else insert(new ColorBox(colour, width, height));
  if (endLine) addJustLineBreak();
}

void SimpleBrowser::addSplit() {
  insert(new ColorLine(static_cast<long>(fg_pixel), 10));
  addJustLineBreak();
}

void SimpleBrowser::addRedSplit() {
  insert(new ColorLine(static_cast<long>(red_pixel), 10));
  addJustLineBreak();
}

void SimpleBrowser::addRedBar() { insert(new ColorLine(static_cast<long>(red_pixel), 10)); }

void SimpleBrowser::startBatch() { store_->suppressNotification(); }
void SimpleBrowser::endBatch() { store_->allowNotification(); }

void SimpleBrowser::clear() {
  store_->suppressNotification();
  removeAllText();
  store_->allowNotification();
}

void SimpleBrowser::removeAllText() {
  store_->clearText();
  clearReversions();
  freeInterned();
  atLineStart_ = true;
}

void SimpleBrowser::setAutoWrap(int width, int indentCount, const char* indentString) {
  wrapWidth_ = width > 0 ? width : kNoWrap;
  wrapIndentCount_ = indentCount > 0 ? indentCount : 0;
  gen_strchange(&wrapIndent_, indentString);
}
