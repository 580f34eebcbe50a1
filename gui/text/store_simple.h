// The linked-list text store: cheap insertion anywhere, one node per
// element or line end.  Removing a position leaves its element to the
// caller; clearing deletes every element.
#pragma once

#include "gui/text/text_store.h"

class SimpleTextStore : public TextBuilder {
 public:
  SimpleTextStore() = default;
  ~SimpleTextStore() override;
  SimpleTextStore(const SimpleTextStore&) = delete;
  SimpleTextStore& operator=(const SimpleTextStore&) = delete;

  TextElement* getElement(TextReference ref) override;
  bool isLineEnd(TextReference ref) override;
  TextReference getFirstElement() override;
  TextReference getLastElement() override;
  TextReference getNextElement(TextReference ref) override;
  TextReference getPrevElement(TextReference ref) override;
  TextReference insertText(TextElement* element, TextReference before) override;
  TextReference insertBreak(TextReference before) override;
  void removeText(TextReference ref) override;
  void changeText(TextReference ref) override;
  void clearText() override;

 private:
  struct Node;
  // References are the nodes' addresses.
  static Node* toNode(TextReference ref);
  static TextReference toRef(Node* node);
  Node* link(Node* node, Node* before);

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
};
