// A text store: an ordered sequence of element references and line ends
// that a view lays out and paints.  Listeners hear of every change, or,
// while notification is suppressed for a batch, of one summary change when
// the batch ends, so a view lays a freshly filled pane out only once.
#pragma once

#include <set>

class TextElement;
class TextStore;

// An opaque handle to one position of a store: an element or a line end.
// Null means the end of the store when inserting and no position when
// returned.
struct TextPosition;
using TextReference = TextPosition*;

class TextChangeListener {
 public:
  virtual ~TextChangeListener() = default;
  // Many changes at once (a batch ended, the store was cleared).
  virtual void handleTextChange(TextStore* store) = 0;
  virtual void handleAddedText(TextStore* store, TextReference ref) = 0;
  virtual void handleChangedText(TextStore* store, TextReference ref) = 0;
  // `ref` is gone; `previous` was the position before it (null at the head).
  virtual void handleRemovedText(TextStore* store, TextReference ref,
                                 TextReference previous) = 0;
  // The store is going away; forget it.
  virtual void handleDisconnectTextChange(TextStore* store) = 0;
};

class TextStore {
 public:
  virtual ~TextStore() = default;
  virtual void addTextChangeListener(TextChangeListener* listener) = 0;
  virtual void removeTextChangeListener(TextChangeListener* listener) = 0;
  // The element at `ref`, or null for a line end or no position.
  virtual TextElement* getElement(TextReference ref) = 0;
  virtual bool isLineEnd(TextReference ref) = 0;
  virtual TextReference getFirstElement() = 0;
  virtual TextReference getLastElement() = 0;
  virtual TextReference getNextElement(TextReference ref) = 0;
  virtual TextReference getPrevElement(TextReference ref) = 0;
  // Inserts before `before` (null: at the end); the store owns `element`.
  virtual TextReference insertText(TextElement* element, TextReference before) = 0;
  virtual TextReference insertBreak(TextReference before) = 0;
  virtual void removeText(TextReference ref) = 0;
  // Tells the listeners that the element at `ref` changed its looks.
  virtual void changeText(TextReference ref) = 0;
  virtual void clearText() = 0;
  // A store that knows where its lines start and how high they are says
  // so here, so that a view measures it without visiting its elements:
  // the 1-based line whose first position `lineStart` is (0: not known),
  // a line's height, and its line end.
  virtual int knownLineOf(TextReference lineStart) { return (void)lineStart, 0; }
  virtual int knownLineHeight(int line) { return (void)line, 0; }
  virtual TextReference knownLineEnd(int line) { return (void)line, nullptr; }

  virtual void suppressNotification() = 0;
  virtual void allowNotification() = 0;
};

// The listener set and the suppression rule shared by the concrete stores.
// A change made while suppressed only marks the store as pending; when the
// last suppression is lifted the listeners hear one handleTextChange.
class TextBuilder : public TextStore {
 public:
  ~TextBuilder() override;
  void addTextChangeListener(TextChangeListener* listener) override;
  void removeTextChangeListener(TextChangeListener* listener) override;
  void suppressNotification() override;
  void allowNotification() override;

  bool isSuppressed() const { return suppression_ > 0; }
  bool hasPendingChanges() const { return pending_; }

 protected:
  void notifyAdded(TextReference ref);
  void notifyChanged(TextReference ref);
  void notifyRemoved(TextReference ref, TextReference previous);
  // One summary change (or a pending mark while suppressed).
  void notifyWholeChange();
  // Tells every listener that the store goes away; concrete stores call it
  // first in their destructors, while they can still answer queries.
  void disconnectListeners();

 private:
  // Runs `call` on a snapshot of the listeners, skipping any removed
  // meanwhile, unless suppressed (then only marks the change pending).
  template <typename Call>
  void notify(Call call);

  std::set<TextChangeListener*> listeners_;
  int suppression_ = 0;
  bool pending_ = false;
};
