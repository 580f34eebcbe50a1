// Which program offers which service: the table the router consults when a
// tool asks for a service that no running tool offers.  The table is an
// options database with one node per service under "Services":
//
//   Services {
//     DiffView { program = "diffview" }
//     "VersionControl.*" { program = "vc_service"  args += "-quiet" }
//   }
//
// A name ending in ".*" stands for every service that starts with the text
// before the "*".  A program named without a folder is looked for beside
// the router first, then on PATH.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ServiceProgram {
  std::string program;
  std::vector<std::string> args;  // after the router's own arguments
};

class ServiceTable {
 public:
  // Reads the files in turn, later entries replacing earlier ones of the
  // same name; a file that is absent is skipped, one that does not parse
  // is named in *problems.
  void read(const std::vector<std::string>& paths, std::vector<std::string>* problems);
  // The entry of the exact name, else of the longest matching pattern;
  // null when none.
  const ServiceProgram* find(const std::string& service) const;

 private:
  std::map<std::string, ServiceProgram> exact_, prefixes_;
};

// The path to run for `program`: an absolute name as it is, a bare name in
// `programDir` when executable there, else on PATH; empty when there is no
// such executable.
std::string resolve_program(const std::string& program, const std::string& programDir);
