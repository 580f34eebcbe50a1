// Reading the service table and finding programs.
#include "svc_router/service_table.h"

#include <unistd.h>

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"

namespace {

bool executable(const std::string& path) {
  return !path.empty() && access(path.c_str(), X_OK) == 0 && !gen_isdir(path.c_str());
}

}  // namespace

void ServiceTable::read(const std::vector<std::string>& paths, std::vector<std::string>* problems) {
  for (const std::string& path : paths) {
    if (access(path.c_str(), F_OK) != 0) continue;
    ut_options_database db;
    if (!db.read_from_file_name(path.c_str())) {
      if (problems) problems->push_back(path);
      continue;
    }
    const ut_options_node* services = db.get_root_node()->find_child("Services");
    if (!services) continue;
    for (const auto& node : services->children()) {
      const char* program = node->get_string("program");
      const std::string& name = node->get_name();
      if (!program || !*program || name.empty()) continue;
      ServiceProgram entry{program, node->get_string_list("args")};
      if (name.size() >= 2 && name.compare(name.size() - 2, 2, ".*") == 0)
        prefixes_[name.substr(0, name.size() - 1)] = entry;
      else
        exact_[name] = entry;
    }
  }
}

const ServiceProgram* ServiceTable::find(const std::string& service) const {
  if (auto it = exact_.find(service); it != exact_.end()) return &it->second;
  const ServiceProgram* best = nullptr;
  size_t bestLength = 0;
  for (const auto& [prefix, entry] : prefixes_) {
    if (service.compare(0, prefix.size(), prefix) == 0 && prefix.size() >= bestLength) {
      best = &entry;
      bestLength = prefix.size();
    }
  }
  return best;
}

std::string resolve_program(const std::string& program, const std::string& programDir) {
  if (program.empty()) return {};
  if (program[0] == '/') return executable(program) ? program : std::string();
  if (program.find('/') != std::string::npos) return {};
  if (!programDir.empty()) {
    std::string beside = programDir + "/" + program;
    if (executable(beside)) return beside;
  }
  char* found = gen_findexec(program.c_str());
  std::string path = found ? found : "";
  gen_free(found);
  return executable(path) ? path : std::string();
}
