// Listener bookkeeping and batch suppression shared by the text stores.
#include "gui/text/text_store.h"

#include <vector>

TextBuilder::~TextBuilder() = default;

void TextBuilder::addTextChangeListener(TextChangeListener* listener) {
  if (listener) listeners_.insert(listener);
}

void TextBuilder::removeTextChangeListener(TextChangeListener* listener) {
  listeners_.erase(listener);
}

template <typename Call>
void TextBuilder::notify(Call call) {
  if (suppression_ > 0) {
    pending_ = true;
    return;
  }
  std::vector<TextChangeListener*> snapshot(listeners_.begin(), listeners_.end());
  for (TextChangeListener* l : snapshot)
    if (listeners_.count(l)) call(l);
}

void TextBuilder::notifyAdded(TextReference ref) {
  notify([&](TextChangeListener* l) { l->handleAddedText(this, ref); });
}

void TextBuilder::notifyChanged(TextReference ref) {
  notify([&](TextChangeListener* l) { l->handleChangedText(this, ref); });
}

void TextBuilder::notifyRemoved(TextReference ref, TextReference previous) {
  notify([&](TextChangeListener* l) { l->handleRemovedText(this, ref, previous); });
}

void TextBuilder::notifyWholeChange() {
  notify([&](TextChangeListener* l) { l->handleTextChange(this); });
}

void TextBuilder::disconnectListeners() {
  std::vector<TextChangeListener*> snapshot(listeners_.begin(), listeners_.end());
  listeners_.clear();
  for (TextChangeListener* l : snapshot) l->handleDisconnectTextChange(this);
}

void TextBuilder::suppressNotification() { suppression_++; }

void TextBuilder::allowNotification() {
  suppression_--;
  if (suppression_ >= 1 || !pending_) return;
  suppression_ = 0;
  std::vector<TextChangeListener*> snapshot(listeners_.begin(), listeners_.end());
  for (TextChangeListener* l : snapshot)
    if (listeners_.count(l)) l->handleTextChange(this);
  pending_ = false;
}
