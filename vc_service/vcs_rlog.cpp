// The log that rlog and cvs log print: a header (head, locks, symbolic
// names, description), then one block per revision between lines of 28
// dashes, the last ended by a line of 77 equal signs:
//   revision 1.2<TAB>locked by: ann;
//   date: 2026/12/01 10:00:00;  author: ann;  state: Exp;  lines: +1 -0
//   branches:  1.2.1;            (only where branches start)
//   the comment, any number of lines
#include <map>
#include <sstream>

#include "vc_service/vcs_parts.h"

namespace {

const std::string kSeparator(28, '-');
const std::string kEnd(77, '=');

// The text after `key` up to the next ';' (or the line's end).
std::string field(const std::string& line, const std::string& key) {
  const size_t at = line.find(key);
  if (at == std::string::npos) return "";
  const size_t start = at + key.size();
  const size_t end = line.find(';', start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string trimmed(std::string s) {
  const size_t start = s.find_first_not_of(" \t");
  const size_t end = s.find_last_not_of(" \t");
  return start == std::string::npos ? "" : s.substr(start, end - start + 1);
}

// "name: value" lines indented by a tab, as under "locks:" and
// "symbolic names:"; value -> names.
void readIndented(std::istringstream& in, std::string* line,
                  std::multimap<std::string, std::string>* byValue) {
  while (std::getline(in, *line) && !line->empty() && line->front() == '\t') {
    const size_t colon = line->find(':');
    if (colon == std::string::npos) continue;
    byValue->emplace(trimmed(line->substr(colon + 1)), trimmed(line->substr(0, colon)));
  }
}

bool isBranch(const std::string& revision) {
  int dots = 0;
  for (char c : revision) dots += c == '.';
  return dots > 1;
}

}  // namespace

bool vcs_ParseRlog(const std::string& text, History_Info* history, std::string* head,
                   std::string* locker) {
  std::istringstream in(text);
  std::multimap<std::string, std::string> locks, tags;
  std::string line;
  bool sawHead = false, pending = false;
  // The header, up to the first separator.
  while (pending || std::getline(in, line)) {
    pending = false;
    if (line == kSeparator) break;
    if (line.rfind("head:", 0) == 0) *head = trimmed(line.substr(5)), sawHead = true;
    if (line.rfind("locks:", 0) == 0) readIndented(in, &line, &locks), pending = true;
    if (line.rfind("symbolic names:", 0) == 0) readIndented(in, &line, &tags), pending = true;
  }
  if (!sawHead) return false;
  History_Info_Item* item = nullptr;
  bool inComment = false;
  while (std::getline(in, line)) {
    if (line == kSeparator || line == kEnd) {
      item = nullptr;
      continue;
    }
    if (!item && line.rfind("revision ", 0) == 0) {
      history->items.emplace_back();
      item = &history->items.back();
      const std::string rest = line.substr(9);
      item->version = trimmed(rest.substr(0, rest.find_first_of("\t ")));
      item->is_branch = isBranch(item->version);
      auto [from, to] = tags.equal_range(item->version);
      for (auto t = from; t != to; ++t) item->tags.push_back(t->second);
      inComment = false;
    } else if (item && !inComment && line.rfind("date: ", 0) == 0) {
      item->date = trimmed(field(line, "date: "));
      item->username = trimmed(field(line, "author: "));
    } else if (item && !inComment && line.rfind("branches:", 0) == 0) {
    } else if (item) {
      inComment = true;
      item->comments += line + "\n";
    }
  }
  for (History_Info_Item& i : history->items)
    while (!i.comments.empty() && i.comments.back() == '\n') i.comments.pop_back();
  history->version = *head;
  history->display_tags = !tags.empty();
  auto lock = locks.find(*head);
  *locker = lock == locks.end() ? "" : lock->second;
  return true;
}
