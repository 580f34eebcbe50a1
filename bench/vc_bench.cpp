// vc_bench: one system's version fetching through the version-control
// service beside the system's own command (see vc.sh).
//   vc_bench SYSTEM FILE VERSION REPEAT COMMAND ARGS...
// connects to "VersionControl.SYSTEM" through a private router started
// beside this program, then times REPEAT fetches of VERSION of FILE each
// way (the command run in FILE's directory, its output read in full) and
// REPEAT histories of FILE, and prints the medians.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/gen.h"
#include "bench/bench_table.h"
#include "services/servicerouter_proxy.h"
#include "vc/VersionControl_client_Impl.h"
#include "vc_service/vc_backend.h"
#include "vc_service/vcs_run.h"

namespace {

double ms(const std::vector<double>& us) { return bench::percentile(us, 0.5) / 1000; }

// Median microseconds of `repeat` runs of `step`, which says whether it worked.
template <typename Step>
std::vector<double> timed(int repeat, Step step) {
  std::vector<double> us;
  for (int i = 0; i < repeat; i++) {
    const auto start = bench::Clock::now();
    if (!step()) {
      fprintf(stderr, "vc_bench: error: a timed step failed\n");
      exit(1);
    }
    us.push_back(bench::usSince(start));
  }
  return us;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  if (argc < 6) {
    fprintf(stderr, "usage: vc_bench SYSTEM FILE VERSION REPEAT COMMAND ARGS...\n");
    return 2;
  }
  const std::string system = argv[1], file = vcs_Absolute(argv[2]), version = argv[3];
  const int repeat = atoi(argv[4]);
  const std::vector<std::string> own(argv + 5, argv + argc);
  char* self = realpath("/proc/self/exe", nullptr);  // the router is beside this program
  const std::string bin = self ? vcs_DirOf(self) : ".";
  free(self);
  std::vector<std::string> words = {argv[0], "-sr_dir", bin, "-sr_private"};
  std::vector<char*> args;
  for (std::string& w : words) args.push_back(w.data());
  args.push_back(nullptr);
  int count = static_cast<int>(words.size());
  auto* c = new VersionControl_client_Impl;
  bool found = false, accepted = false;
  if (!ServiceRouter_Proxy::startup(false, &count, args.data(), nullptr, true, nullptr, true,
                                    true) ||
      !ServiceRouter_Proxy::getServiceConnection(("VersionControl." + system).c_str(), c,
                                                 &found, &accepted, nullptr)) {
    fprintf(stderr, "vc_bench: error: no VersionControl.%s service\n", system.c_str());
    return 1;
  }
  const std::string out = file + ".bench-out";
  STPOwnedString error;
  History_Info h;
  const auto direct = timed(repeat, [&] { return vcs_Run(own, vcs_DirOf(file)).ok(); });
  const auto service = timed(repeat, [&] {
    return c->send_RestoreFileToVersion(file.c_str(), out.c_str(), version.c_str(), 0,
                                        error.out()) && !(error.get() && *error.get());
  });
  const auto history = timed(repeat, [&] {
    h = History_Info();
    return c->send_ShowHistory(file.c_str(), &h, error.out()) && !(error.get() && *error.get());
  });
  remove(out.c_str());
  const std::string name = system + " ";
  bench::row((name + "fetch, own command").c_str(), bench::fmt("%.1f ms", ms(direct)), "");
  bench::row((name + "fetch through the service").c_str(), bench::fmt("%.1f ms", ms(service)),
             bench::fmt("adds %.1f ms (target <= 20)", ms(service) - ms(direct)).c_str());
  bench::row((name + "history (" + std::to_string(h.items.size()) + " versions)").c_str(),
             bench::fmt("%.1f ms", ms(history)), "");
  ServiceRouter_Proxy::dropServiceConnection(c, nullptr, true);
  c->delRef();
  ServiceRouter_Proxy::shutdown(true);
  return 0;
}
