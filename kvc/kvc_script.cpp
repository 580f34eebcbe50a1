// Edit scripts between two versions: the difference engine pairs the
// lines (diff_kvc2 over two temporary files); the literal lines are taken
// from the text itself, so the script rebuilds it byte for byte whatever
// the engine makes of line ends.  A script that does not rebuild the text
// is replaced by one that adds it whole.
#include <unistd.h>

#include <cstdlib>

#include "base/gen.h"
#include "diff/diff.h"
#include "kvc/kvc.h"

namespace {

// A temporary file holding `text`, removed with the object.
class TempText {
 public:
  explicit TempText(std::string_view text) {
    const char* dir = getenv("TMPDIR");
    path_ = std::string(dir && *dir ? dir : "/tmp") + "/kvc.XXXXXX";
    const int fd = mkstemp(path_.data());
    if (fd < 0) {
      path_.clear();
      return;
    }
    size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = write(fd, text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ok_ = done == text.size();
    close(fd);
  }
  ~TempText() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  TempText(const TempText&) = delete;
  TempText& operator=(const TempText&) = delete;
  bool ok() const { return ok_; }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
  bool ok_ = false;
};

// The lines older[from .. from+count) as one view.
std::string_view span(const std::vector<std::string_view>& older, size_t from, size_t count) {
  if (count == 0) return {};
  const char* start = older[from].data();
  const std::string_view& last = older[from + count - 1];
  return std::string_view(start, last.data() + last.size() - start);
}

// The engine's script as operations; false when it does not fit `older`.
bool fromEngine(char** script, int count, const std::vector<std::string_view>& older,
                std::vector<KvcOp>* ops) {
  size_t pos = 0;
  for (int i = 0; i < count; i++) {
    const char* s = script[i];
    KvcOp op;
    if (s[0] == 'm') {
      char* end = nullptr;
      op.copy = true;
      op.first = static_cast<int>(strtol(s + 1, &end, 10));
      op.last = *end == ',' ? static_cast<int>(strtol(end + 1, nullptr, 10)) : op.first;
      if (op.first < 1 || op.last < op.first) return false;
      pos += static_cast<size_t>(op.last - op.first + 1);
    } else if (s[0] == 'a') {
      op.count = atoi(s + 1);
      if (op.count < 0 || pos + static_cast<size_t>(op.count) > older.size()) return false;
      op.text = span(older, pos, static_cast<size_t>(op.count));
      pos += static_cast<size_t>(op.count);
      i += op.count;
    } else {
      return false;
    }
    ops->push_back(op);
  }
  return pos == older.size();
}

std::string joined(const std::vector<std::string_view>& lines) {
  std::string out;
  for (std::string_view l : lines) out += l;
  return out;
}

}  // namespace

bool kvc_ApplyScript(const std::vector<std::string_view>& newer, const std::vector<KvcOp>& ops,
                     std::vector<std::string_view>* older) {
  older->clear();
  // The engine pairs each line once: a line copied twice marks a damaged
  // script (and would let a small log grow without bound).
  std::vector<bool> copied(newer.size());
  for (const KvcOp& op : ops) {
    if (op.copy) {
      if (op.first < 1 || op.last < op.first || static_cast<size_t>(op.last) > newer.size())
        return false;
      for (int k = op.first - 1; k < op.last; k++) {
        if (copied[k]) return false;
        copied[k] = true;
      }
      older->insert(older->end(), newer.begin() + op.first - 1, newer.begin() + op.last);
      continue;
    }
    std::vector<std::string_view> lines = kvc_SplitLines(op.text);
    if (lines.size() != static_cast<size_t>(op.count)) return false;
    older->insert(older->end(), lines.begin(), lines.end());
  }
  return true;
}

bool kvc_MakeScript(std::string_view newer, std::string_view older, std::vector<KvcOp>* ops,
                    std::string* error) {
  ops->clear();
  const std::vector<std::string_view> olderLines = kvc_SplitLines(older);
  TempText newFile(newer), oldFile(older);
  if (!newFile.ok() || !oldFile.ok()) {
    *error = "cannot write a temporary file to compare versions";
    return false;
  }
  int count = 0;
  char** script = nullptr;
  diffInfo* info = diff_kvc2(newFile.path(), oldFile.path(), &count, &script);
  bool fits = info && fromEngine(script, count, olderLines, ops);
  diff_free(info);
  if (script) diff_freescript(count, script);
  std::vector<std::string_view> rebuilt;
  fits = fits && kvc_ApplyScript(kvc_SplitLines(newer), *ops, &rebuilt) && joined(rebuilt) == older;
  if (!fits) {
    ops->clear();
    if (!olderLines.empty())
      ops->push_back(KvcOp{false, 0, 0, static_cast<int>(olderLines.size()), older});
  }
  return true;
}

std::vector<std::string_view> kvc_SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}
