// The records the version-control service returns, with their text form:
// a version's information, and a file's history with one item per
// version.  The generated VersionControl endpoints read and write them
// through the put and get functions below.
#pragma once

#include <string>
#include <vector>

class STPAsciiOMsg;
class STPAsciiIMsg;

struct VersionInfo {
  VersionInfo() = default;
  // Copies each text (null counts as empty).
  VersionInfo(const char* filename, const char* version, const char* author, const char* date,
              const char* comments);
  std::string filename, version, author, date, comments;
};

struct History_Info_Item {
  std::string version, date, username, comments;
  std::vector<std::string> tags;
  bool is_branch = false;
};

struct History_Info {
  bool display_tags = false, file_is_modified = false;
  std::string version, status, tag;
  std::vector<History_Info_Item> items;
};

// How history items sort: by version (numbers compared as numbers, field
// by field, so "1.10" follows "1.9"), by user, by tags, or by date (its
// numbers compared the same way).
enum class HistoryOrder { version, user, tags, date };
// Negative, zero or positive as `a` sorts before, with or after `b`.
int History_Info_compare(const History_Info_Item& a, const History_Info_Item& b,
                         HistoryOrder order);
// Two texts with their digit runs compared as numbers.
int vc_compareNumbered(const std::string& a, const std::string& b);

// { _filename:"..." _version:"..." _author:"..." _date:"..." _comments:"..." }
void vc_putVersionInfo(STPAsciiOMsg* m, const char* tag, const VersionInfo& info);
void vc_getVersionInfo(STPAsciiIMsg* in, const char* tag, VersionInfo* info);
// { _display_tags _file_is_modified _version _status _tag _num_items
//   _items:(n)[ { _version _date _username _comments _numTags _tags:(n)[...]
//   _is_branch } ... ] }
void vc_putHistoryInfo(STPAsciiOMsg* m, const char* tag, const History_Info& history);
void vc_getHistoryInfo(STPAsciiIMsg* in, const char* tag, History_Info* history);
