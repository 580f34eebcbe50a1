// Doubly linked nodes {element, previous, next, line-end flag}; a
// reference is the node itself.
#include "gui/text/store_simple.h"

#include "gui/text/text_element.h"

struct SimpleTextStore::Node {
  TextElement* element;
  Node* prev;
  Node* next;
  bool lineEnd;
};

SimpleTextStore::Node* SimpleTextStore::toNode(TextReference ref) {
  return reinterpret_cast<Node*>(ref);
}

TextReference SimpleTextStore::toRef(Node* node) {
  return reinterpret_cast<TextReference>(node);
}

SimpleTextStore::~SimpleTextStore() {
  disconnectListeners();
  for (Node* n = head_; n;) {
    Node* next = n->next;
    delete n->element;
    delete n;
    n = next;
  }
}

TextElement* SimpleTextStore::getElement(TextReference ref) {
  return ref ? toNode(ref)->element : nullptr;
}

bool SimpleTextStore::isLineEnd(TextReference ref) {
  return ref && toNode(ref)->lineEnd;
}

TextReference SimpleTextStore::getFirstElement() { return toRef(head_); }
TextReference SimpleTextStore::getLastElement() { return toRef(tail_); }

TextReference SimpleTextStore::getNextElement(TextReference ref) {
  return ref ? toRef(toNode(ref)->next) : nullptr;
}

TextReference SimpleTextStore::getPrevElement(TextReference ref) {
  return ref ? toRef(toNode(ref)->prev) : nullptr;
}

SimpleTextStore::Node* SimpleTextStore::link(Node* node, Node* before) {
  if (!head_) {
    head_ = tail_ = node;
  } else if (!before) {
    node->prev = tail_;
    tail_->next = node;
    tail_ = node;
  } else {
    node->next = before;
    node->prev = before->prev;
    if (before->prev) before->prev->next = node;
    else head_ = node;
    before->prev = node;
  }
  notifyAdded(toRef(node));
  return node;
}

TextReference SimpleTextStore::insertText(TextElement* element, TextReference before) {
  return toRef(link(new Node{element, nullptr, nullptr, false}, toNode(before)));
}

TextReference SimpleTextStore::insertBreak(TextReference before) {
  return toRef(link(new Node{nullptr, nullptr, nullptr, true}, toNode(before)));
}

void SimpleTextStore::removeText(TextReference ref) {
  Node* n = toNode(ref);
  if (!n) return;
  Node* prev = n->prev;
  if (prev) prev->next = n->next;
  else head_ = n->next;
  if (n->next) n->next->prev = prev;
  else tail_ = prev;
  notifyRemoved(ref, toRef(prev));
  delete n;
}

void SimpleTextStore::changeText(TextReference ref) { notifyChanged(ref); }

void SimpleTextStore::clearText() {
  while (head_) {
    Node* n = head_;
    head_ = n->next;
    if (head_) head_->prev = nullptr;
    else tail_ = nullptr;
    delete n->element;
    notifyRemoved(toRef(n), nullptr);
    delete n;
  }
}
