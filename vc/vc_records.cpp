// The text form of the version-control records.  Reading follows the
// message reader's rule: whatever is missing or malformed reads as empty.
#include "vc/vc_records.h"

#include <cctype>

#include "base/gen.h"
#include "libs/stp_transport/stub_support.h"

namespace {

std::string text(const char* s) { return s ? s : ""; }

std::string takeString(STPAsciiIMsg* in, const char* tag) {
  char* s = tag ? in->getString(tag) : in->getString();
  std::string out = text(s);
  gen_free(s);
  return out;
}

void putTexts(STPAsciiOMsg* m, const char* tag, const std::vector<std::string>& list) {
  m->putStartArray(tag, static_cast<int>(list.size()));
  for (const std::string& s : list) m->putString(s.c_str());
  m->putEndArray();
}

void putItem(STPAsciiOMsg* m, const History_Info_Item& item) {
  m->putStartStruct();
  m->putString("_version", item.version.c_str());
  m->putString("_date", item.date.c_str());
  m->putString("_username", item.username.c_str());
  m->putString("_comments", item.comments.c_str());
  m->putNumber("_numTags", static_cast<uint32_t>(item.tags.size()));
  putTexts(m, "_tags", item.tags);
  m->putNumber("_is_branch", item.is_branch);
  m->putEndStruct();
}

History_Info_Item getItem(STPAsciiIMsg* in) {
  History_Info_Item item;
  STPAsciiIMsgParamState state;
  in->getStartStruct(&state);
  item.version = takeString(in, "_version");
  item.date = takeString(in, "_date");
  item.username = takeString(in, "_username");
  item.comments = takeString(in, "_comments");
  stp_forEachElement(in, "_tags", [&](int32_t) { item.tags.push_back(takeString(in, nullptr)); });
  item.is_branch = in->getNumber("_is_branch") != 0;
  in->getEndStruct(&state);
  return item;
}

// The digit run at `i` with its leading zeros skipped; `i` moves past it.
bool digitAt(const std::string& s, size_t i) {
  return i < s.size() && isdigit(static_cast<unsigned char>(s[i]));
}

std::string numberAt(const std::string& s, size_t* i) {
  while (s[*i] == '0' && digitAt(s, *i + 1)) ++*i;
  const size_t start = *i;
  while (digitAt(s, *i)) ++*i;
  return s.substr(start, *i - start);
}

std::string joined(const std::vector<std::string>& tags) {
  std::string out;
  for (const std::string& t : tags) out += (out.empty() ? "" : " ") + t;
  return out;
}

int sign(int n) { return (n > 0) - (n < 0); }

}  // namespace

int vc_compareNumbered(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (digitAt(a, i) && digitAt(b, j)) {
      const std::string na = numberAt(a, &i), nb = numberAt(b, &j);
      if (na.size() != nb.size()) return na.size() < nb.size() ? -1 : 1;
      if (int c = na.compare(nb)) return sign(c);
      continue;
    }
    const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i, ++j;
  }
  return (i < a.size()) - (j < b.size());
}

int History_Info_compare(const History_Info_Item& a, const History_Info_Item& b,
                         HistoryOrder order) {
  switch (order) {
    case HistoryOrder::user: return sign(a.username.compare(b.username));
    case HistoryOrder::tags: return sign(joined(a.tags).compare(joined(b.tags)));
    case HistoryOrder::date: return vc_compareNumbered(a.date, b.date);
    case HistoryOrder::version: break;
  }
  return vc_compareNumbered(a.version, b.version);
}

VersionInfo::VersionInfo(const char* filename, const char* version, const char* author,
                         const char* date, const char* comments)
    : filename(text(filename)),
      version(text(version)),
      author(text(author)),
      date(text(date)),
      comments(text(comments)) {}

void vc_putVersionInfo(STPAsciiOMsg* m, const char* tag, const VersionInfo& info) {
  m->putStartStruct(tag);
  m->putString("_filename", info.filename.c_str());
  m->putString("_version", info.version.c_str());
  m->putString("_author", info.author.c_str());
  m->putString("_date", info.date.c_str());
  m->putString("_comments", info.comments.c_str());
  m->putEndStruct();
}

void vc_getVersionInfo(STPAsciiIMsg* in, const char* tag, VersionInfo* info) {
  STPAsciiIMsgParamState state;
  in->getStartStruct(tag, &state);
  info->filename = takeString(in, "_filename");
  info->version = takeString(in, "_version");
  info->author = takeString(in, "_author");
  info->date = takeString(in, "_date");
  info->comments = takeString(in, "_comments");
  in->getEndStruct(&state);
}

void vc_putHistoryInfo(STPAsciiOMsg* m, const char* tag, const History_Info& history) {
  m->putStartStruct(tag);
  m->putNumber("_display_tags", history.display_tags);
  m->putNumber("_file_is_modified", history.file_is_modified);
  m->putString("_version", history.version.c_str());
  m->putString("_status", history.status.c_str());
  m->putString("_tag", history.tag.c_str());
  m->putNumber("_num_items", static_cast<uint32_t>(history.items.size()));
  m->putStartArray("_items", static_cast<int>(history.items.size()));
  for (const History_Info_Item& item : history.items) putItem(m, item);
  m->putEndArray();
  m->putEndStruct();
}

void vc_getHistoryInfo(STPAsciiIMsg* in, const char* tag, History_Info* history) {
  *history = History_Info();
  STPAsciiIMsgParamState state;
  in->getStartStruct(tag, &state);
  history->display_tags = in->getNumber("_display_tags") != 0;
  history->file_is_modified = in->getNumber("_file_is_modified") != 0;
  history->version = takeString(in, "_version");
  history->status = takeString(in, "_status");
  history->tag = takeString(in, "_tag");
  stp_forEachElement(in, "_items", [&](int32_t) { history->items.push_back(getItem(in)); });
  in->getEndStruct(&state);
}
