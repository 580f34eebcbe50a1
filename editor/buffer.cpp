#include "editor/buffer.h"

#include <algorithm>

#include "editor/file_lines.h"
#include "text/file.h"

namespace {

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

EditBuffer::EditBuffer(file* f) : file_(f) { reindex(); }

void EditBuffer::reindex() {
  lines_.clear();
  lines_.reserve(file_->lineCount);
  for (line* l = file_->firstLine; l; l = l->next) lines_.push_back(l);
  caret_ = clamp(caret_);
  anchor_ = clamp(anchor_);
  notify(1, rowCount(), true);
}

line* EditBuffer::lineAt(long number) const {
  if (number < 1 || number > lineCount()) return nullptr;
  return lines_[number - 1];
}

std::string EditBuffer::text(long number) const {
  line* l = lineAt(number);
  return l ? edit_LineText(file_, l) : std::string();
}

EditPos EditBuffer::clamp(EditPos p) const {
  p.line = std::clamp(p.line, 1L, rowCount());
  line* l = lineAt(p.line);
  p.col = std::clamp(p.col, 0L, l ? l->length : 0L);
  return p;
}

EditPos EditBuffer::endOfText() const {
  line* l = lineAt(rowCount());
  return EditPos{rowCount(), l ? l->length : 0};
}

EditPos EditBuffer::stepLeft(EditPos p) const {
  if (p.col == 0) return p.line > 1 ? EditPos{p.line - 1, lineAt(p.line - 1)->length} : p;
  std::string t = text(p.line);
  do p.col--; while (p.col > 0 && continuation(t[p.col]));
  return p;
}

EditPos EditBuffer::stepRight(EditPos p) const {
  std::string t = text(p.line);
  if (p.col >= static_cast<long>(t.size()))
    return p.line < lineCount() ? EditPos{p.line + 1, 0} : p;
  do p.col++; while (p.col < static_cast<long>(t.size()) && continuation(t[p.col]));
  return p;
}

std::string EditBuffer::textBetween(EditPos from, EditPos to) const {
  if (from.line == to.line) return text(from.line).substr(from.col, to.col - from.col);
  std::string out = text(from.line).substr(from.col);
  for (long n = from.line + 1; n < to.line; n++) {
    out += '\n';
    out += text(n);
  }
  out += '\n';
  out += text(to.line).substr(0, to.col);
  return out;
}

std::string EditBuffer::selectedText() const {
  return textBetween(selectionStart(), selectionEnd());
}

void EditBuffer::moveTo(EditPos to, bool extend) {
  EditPos oldCaret = caret_, oldAnchor = anchor_;
  caret_ = clamp(to);
  if (!extend) anchor_ = caret_;
  long first = std::min({oldCaret.line, oldAnchor.line, caret_.line, anchor_.line});
  long last = std::max({oldCaret.line, oldAnchor.line, caret_.line, anchor_.line});
  notify(first, last, false);
}

void EditBuffer::selectLines(long first, long count) {
  EditPos start = clamp(EditPos{first, 0});
  EditPos end = count <= 0 ? start
                : first + count > lineCount() ? endOfText()
                                              : EditPos{first + count, 0};
  moveTo(start, false);
  moveTo(end, true);
}

// The text from..to becomes `text`: the first and last lines keep what lay
// outside the stretch, the lines between go, and each newline of `text`
// starts a new line.
EditPos EditBuffer::apply(EditPos from, EditPos to, std::string_view text) {
  if (lines_.empty()) lines_.push_back(edit_InsertLine(file_, nullptr, ""));
  from = clamp(from), to = clamp(to);
  std::string head = this->text(from.line).substr(0, from.col);
  std::string tail = this->text(to.line).substr(to.col);
  bool moved = to.line > from.line;
  for (long n = to.line; n > from.line; n--) edit_RemoveLine(file_, lines_[n - 1]);
  lines_.erase(lines_.begin() + from.line, lines_.begin() + to.line);
  size_t nl = text.find('\n');
  EditPos end{from.line, from.col + static_cast<long>(std::min(nl, text.size()))};
  std::string first = head;
  first += text.substr(0, nl);
  long at = from.line;
  while (nl != std::string_view::npos) {
    text.remove_prefix(nl + 1);
    nl = text.find('\n');
    line* before = at < lineCount() ? lines_[at] : nullptr;
    lines_.insert(lines_.begin() + at, edit_InsertLine(file_, before, text.substr(0, nl)));
    at++;
    end = EditPos{at, static_cast<long>(std::min(nl, text.size()))};
    moved = true;
  }
  edit_SetLineText(file_, lines_[from.line - 1], first);
  line* last = lines_[at - 1];
  std::string lastText = edit_LineText(file_, last);
  lastText += tail;
  edit_SetLineText(file_, last, lastText);
  notify(from.line, moved ? rowCount() : from.line, moved);
  return end;
}

void EditBuffer::record(EditPos from, EditPos to, std::string was, bool typed) {
  if (typed && !undo_.empty() && undo_.back().typed && undo_.back().to == from) {
    undo_.back().to = to;
    return;
  }
  undo_.push_back(Change{from, to, std::move(was), caret_, typed});
}

EditPos EditBuffer::replace(EditPos from, EditPos to, std::string_view text) {
  from = clamp(from), to = clamp(to);
  if (to < from) std::swap(from, to);
  std::string was = lines_.empty() ? std::string() : textBetween(from, to);
  EditPos end = apply(from, to, text);
  bool typed = text.size() == 1 && text[0] != '\n' && was.empty();
  record(from, end, std::move(was), typed);
  return end;
}

bool EditBuffer::type(std::string_view text) {
  if (locked_) return false;
  EditPos end = replace(selectionStart(), selectionEnd(), text);
  moveTo(end, false);
  return true;
}

bool EditBuffer::backspace() {
  if (locked_) return false;
  if (!hasSelection()) moveTo(stepLeft(caret_), true);
  return type("");
}

bool EditBuffer::deleteForward() {
  if (locked_) return false;
  if (!hasSelection()) moveTo(stepRight(caret_), true);
  return type("");
}

bool EditBuffer::cutSelection() { return hasSelection() && type(""); }

bool EditBuffer::undo() {
  if (locked_ || undo_.empty()) return false;
  Change c = std::move(undo_.back());
  undo_.pop_back();
  apply(c.from, c.to, c.was);
  moveTo(c.caret, false);
  return true;
}

void EditBuffer::appendLine(std::string_view text) {
  if (lines_.empty()) {
    replace(EditPos{1, 0}, EditPos{1, 0}, text);
    return;
  }
  std::string withBreak = "\n";
  withBreak += text;
  EditPos end = endOfText();
  replace(end, end, withBreak);
}

void EditBuffer::insertAtLineStart(long number, std::string_view text) {
  if (number < 1 || number > lineCount()) return;
  replace(EditPos{number, 0}, EditPos{number, 0}, text);
}

void EditBuffer::notify(long first, long last, bool linesMoved) {
  if (listener_) listener_->bufferChanged(first, last, linesMoved);
}
