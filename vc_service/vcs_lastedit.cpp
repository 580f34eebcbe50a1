// ShowLastEdit for every system: starting from the asked version (or the
// working file) the line range is followed back through older versions,
// each pair compared by the difference engine, until a version is found
// in which one of its lines was not there before.
#include <algorithm>

#include "diff/diff.h"
#include "kvc/kvc.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_parts.h"

std::vector<int> vcs_Partners(const std::string& older, const std::string& newer) {
  const std::vector<std::string_view> o = kvc_SplitLines(older), n = kvc_SplitLines(newer);
  std::vector<std::string> os(o.begin(), o.end()), ns(n.begin(), n.end());
  std::vector<char*> op, np;
  for (std::string& s : os) op.push_back(s.data());
  for (std::string& s : ns) np.push_back(s.data());
  std::vector<int> map(ns.size() + 1, 0);
  int count = 0;
  char** script = nullptr;
  diffInfo* info = diff_mem(static_cast<int>(op.size()), op.data(), static_cast<int>(np.size()),
                            np.data(), &count, &script);
  if (info)
    for (int j = 1; j <= info->secondCount && j < static_cast<int>(map.size()); j++)
      if (info->secondLines[j].matched) map[j] = info->secondLines[j].partner;
  diff_free(info);
  if (script) diff_freescript(count, script);
  return map;
}

namespace {

// Where a new line at `l` shows in the older version: after the older
// partner of the nearest paired line above it.
int placeInOlder(const std::vector<int>& map, int l) {
  for (int k = l - 1; k >= 1; k--)
    if (map[k]) return map[k] + 1;
  return 1;
}

}  // namespace

std::string VcBackend::lastEdit(const std::string& file, int from, int to,
                                const std::string& version, VcLastEdit* edit) {
  History_Info h;
  std::string name, text, error = keptHistory(file, &h);
  if (error.empty() && !version.empty()) error = nameIn(h, file, version, &name);
  if (!error.empty()) return error;
  std::vector<std::string> lane = vcs_Lane(h, name.empty() && !h.items.empty()
                                                  ? h.items[0].version : name);
  size_t next = 0;
  if (name.empty()) {
    if (!kvc_ReadFile(file, &text, &error)) return error;
  } else {
    next = static_cast<size_t>(std::find(lane.begin(), lane.end(), name) - lane.begin()) + 1;
    error = next > lane.size() ? "no version " + version + " of " + file
                               : fetch(file, name, &text);
  }
  if (!error.empty()) return error;
  const int count = static_cast<int>(kvc_SplitLines(text).size());
  if (from < 1 || to < from || to > count)
    return "lines " + std::to_string(from) + " to " + std::to_string(to) + " are not in " +
           (name.empty() ? file : "version " + name + " of " + file);
  for (;; next++) {
    if (next >= lane.size()) {
      *edit = VcLastEdit{"original", name, 0, from};  // there since the first version
      return "";
    }
    std::string older;
    if (!(error = fetch(file, lane[next], &older)).empty()) return error;
    const std::vector<int> map = vcs_Partners(older, text);
    for (int l = from; l <= to; l++) {
      if (map[l]) continue;
      *edit = VcLastEdit{lane[next], name, placeInOlder(map, l), l};
      return "";
    }
    const auto [low, high] = std::minmax_element(map.begin() + from, map.begin() + to + 1);
    from = *low, to = *high;
    text.swap(older);
    name = lane[next];
  }
}
