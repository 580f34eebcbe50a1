// Recent directories per group, read once from the user's configuration
// directory and written back after every change.
#include "gui/lists/file_choose_history.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "base/gen.h"
#include "config/config_dirs.h"

namespace {

std::map<std::string, std::vector<std::string>> groups;
bool loaded = false;

void load() {
  if (loaded) return;
  loaded = true;
  std::string file = fc_historyFile();
  if (file.empty()) return;
  constexpr long kMaxFileBytes = 1L << 20;
  std::vector<std::string> lines;
  if (!gen_read_data_lines(file.c_str(), kMaxFileBytes, "file chooser history", &lines)) return;
  for (const std::string& line : lines) {
    size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) continue;
    auto& list = groups[line.substr(0, tab)];
    if (static_cast<int>(list.size()) < kFileChooseHistoryLength)
      list.push_back(line.substr(tab + 1));
  }
}

void save() {
  std::string file = fc_historyFile();
  if (file.empty()) return;
  std::ofstream out(file, std::ios::trunc);
  if (!out) {
    gen_warning("Cannot save the file chooser history in %s", file.c_str());
    return;
  }
  for (const auto& [group, dirs] : groups)
    for (const std::string& d : dirs) out << group << '\t' << d << '\n';
}

}  // namespace

std::string fc_historyFile() {
  if (cfg_GetNoConfigFiles()) return "";
  char* dir = cfg_GetUserConfigDir(true);
  std::string file = dir ? std::string(dir) + "/filechooser.history" : "";
  gen_free(dir);
  return file;
}

void fc_rememberDirectory(const char* group, const std::string& dir) {
  if (dir.empty() || dir.find_first_of("\t\n") != std::string::npos) return;
  load();
  auto& list = groups[group ? group : ""];
  std::erase(list, dir);
  list.insert(list.begin(), dir);
  if (static_cast<int>(list.size()) > kFileChooseHistoryLength)
    list.resize(kFileChooseHistoryLength);
  save();
}

std::vector<std::string> fc_recentDirectories(const char* group) {
  load();
  auto it = groups.find(group ? group : "");
  return it == groups.end() ? std::vector<std::string>{} : it->second;
}

void fc_forgetHistory() {
  groups.clear();
  loaded = false;
}
