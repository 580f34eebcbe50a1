// KVC, the suite's own small version store.  A file's log is the file
// "kvc.log/<base name>" beside it (beside the target of a symbolic link).
// Versions are numbered 1, 2, 3...; the newest is kept whole and every
// older one as the difference engine's edit script that rebuilds it from
// its newer neighbour, each with its author, date and comment.
//
// Every function that can fail returns false (or null) and leaves a
// message in *error; a damaged log is reported, never trusted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One step of an edit script that rebuilds a version from its newer
// neighbour: copy that version's lines first..last (1-based), or add
// `count` literal lines, whose bytes are `text`.
struct KvcOp {
  bool copy = false;
  int first = 0, last = 0, count = 0;
  std::string_view text;
};

struct KvcVersion {
  int number = 0;
  int64_t date = 0;  // seconds since the epoch
  std::string author, comment;
};

class KvcLog {
 public:
  // The log of `bytes`; `name` is what messages call it.
  static std::unique_ptr<KvcLog> parse(std::string bytes, const std::string& name,
                                       std::string* error);
  // The log of `file` (see kvc_LogPath).
  static std::unique_ptr<KvcLog> readFor(const std::string& file, std::string* error);

  // Oldest first: version n is entry n-1.
  const std::vector<KvcVersion>& versions() const { return versions_; }
  int head() const { return static_cast<int>(versions_.size()); }
  // The text of version `number`, rebuilt byte for byte.
  bool text(int number, std::string* out, std::string* error) const;
  // The newest version checked in at or before `date`; 0 when none.
  int versionAt(int64_t date) const;

  // The log with `text` checked in as a new head version.
  bool withNewHead(const std::string& text, const KvcVersion& info, std::string* bytes,
                   std::string* error) const;
  // The first log of a file.
  static std::string first(const std::string& text, const KvcVersion& info);

 private:
  KvcLog() = default;
  std::string bytes_, name_;
  std::vector<KvcVersion> versions_;
  std::string_view headText_;              // into bytes_
  std::vector<std::vector<KvcOp>> scripts_;  // per version below the head
};

// "<directory>/kvc.log/<base name>" for `file`, after a symbolic link.
std::string kvc_LogPath(const std::string& file);
bool kvc_HasLog(const std::string& file);

// Checks the working file in as the next version (version 1 when it has
// no log yet, creating the log folder); *number receives the version.
// An unchanged file is refused.
bool kvc_CheckIn(const std::string& file, const std::string& comment, int* number,
                 std::string* error);
// The text of version `number` of `file`, or of the version current at
// `date` when `number` is 0.
bool kvc_Fetch(const std::string& file, int number, int64_t date, std::string* text,
               std::string* error);

// Dates are shown and read in UTC: "YYYY/MM/DD HH:MM:SS"; reading also
// takes "-" between the date's parts, a "T" before the time, a missing
// time or seconds, a trailing "Z", "UTC" or "+0000", and "@SECONDS".
bool kvc_ParseDate(const std::string& text, int64_t* date);
std::string kvc_FormatDate(int64_t date);
// The login name of the user (from the password file, else $USER).
std::string kvc_Username();

// The script rebuilding `older` from `newer`, made by the difference
// engine and checked by applying it.
bool kvc_MakeScript(std::string_view newer, std::string_view older, std::vector<KvcOp>* ops,
                    std::string* error);
// `newer`'s lines with `ops` applied; false when the script does not fit.
bool kvc_ApplyScript(const std::vector<std::string_view>& newer, const std::vector<KvcOp>& ops,
                     std::vector<std::string_view>* older);

// Whole files.  Writing goes through a temporary file renamed into place.
bool kvc_ReadFile(const std::string& path, std::string* bytes, std::string* error);
bool kvc_WriteFile(const std::string& path, const std::string& bytes, std::string* error);
// `text` cut after each newline; a last line without one counts.
std::vector<std::string_view> kvc_SplitLines(std::string_view text);
