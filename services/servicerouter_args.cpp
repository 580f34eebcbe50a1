// The proxy's own command-line arguments: recognising them, and taking
// them out of the argument vector into the proxy's settings.
#include <cstdlib>
#include <cstring>

#include "base/gen.h"
#include "services/servicerouter_proxy.h"
#include "services/sr_proxy.h"

namespace {

struct SRArgument {
  const char* word;
  bool takesValue;
};

constexpr SRArgument kArguments[] = {
    {"-connect_servicerouter", true},   {"-sr_connect_servicerouter_host", true},
    {"-sr_connect_servicerouter_port", true}, {"-sr_log", true},
    {"-sr_log_router", true},           {"-sr_log_all", true},
    {"-sr_log_router_internal", true},  {"-sr_zone", true},
    {"-sr_client_start_cookie", true},  {"-sr_shared", false},
    {"-sr_private", false},             {"-sr_reuse", false},
    {"-sr_new", false},                 {"-sr_debug", true},
    {"-sr_debugger", true},             {"-sr_debugger_opts", true},
    {"-sr_debug_startup", false},       {"-sr_debug_debugger", true},
    {"-sr_debug_debugger_opts", true},  {"-sr_dir", true},
};

const SRArgument* find(const char* word) {
  if (!word) return nullptr;
  for (const SRArgument& a : kArguments)
    if (strcmp(word, a.word) == 0) return &a;
  return nullptr;
}

// Stores one argument (its value may be null) into the settings.
void apply(SRSettings& s, const std::string& word, const char* value) {
  const std::string v = value ? value : "";
  if (word == "-connect_servicerouter" || word == "-sr_connect_servicerouter_port") {
    s.launched = true;
    s.port = atoi(v.c_str());
  } else if (word == "-sr_connect_servicerouter_host") {
    s.launched = true;
    s.host = v;
  } else if (word == "-sr_log") {
    s.traceLog = v;
  } else if (word == "-sr_log_router" || word == "-sr_log_all") {
    s.routerLog = v;
  } else if (word == "-sr_log_router_internal") {
    s.routerInternalLog = v;
  } else if (word == "-sr_zone") {
    s.zone = v;
  } else if (word == "-sr_client_start_cookie") {
    s.hasStartCookie = true;
    s.startCookie = static_cast<uint32_t>(strtoul(v.c_str(), nullptr, 10));
  } else if (word == "-sr_shared" || word == "-sr_private") {
    s.privateChoice = word == "-sr_private";
  } else if (word == "-sr_reuse" || word == "-sr_new") {
    s.newRouter = word == "-sr_new";
  } else if (word == "-sr_debug") {
    s.debugPlugin = v;
  } else if (word == "-sr_debugger") {
    s.debugger = v;
  } else if (word == "-sr_debugger_opts") {
    s.debuggerOpts = v;
  } else if (word == "-sr_debug_startup") {
    s.debugStartup = true;
  } else if (word == "-sr_debug_debugger") {
    s.startupDebugger = v;
  } else if (word == "-sr_debug_debugger_opts") {
    s.startupDebuggerOpts = v;
  } else if (word == "-sr_dir") {
    char* absolute = gen_absolutefilename(v.c_str());
    s.routerDir = absolute ? absolute : "";
    gen_free(absolute);
  }
}

void warnInconsistentDebugging(const SRSettings& s) {
  if (s.debugPlugin.empty() && !s.debugger.empty())
    gen_warning("Must specify -sr_debug for -sr_debugger to have meaning.");
  if (s.debugPlugin.empty() && !s.debuggerOpts.empty())
    gen_warning("Must specify -sr_debug for -sr_debugger_opts to have meaning.");
  const bool both = !s.startupDebugger.empty() && !s.startupDebuggerOpts.empty();
  if (s.debugStartup && !both)
    gen_warning("Must specify both -sr_debug_debugger and -sr_debug_debugger_opts when "
                "-sr_debug_startup is passed.");
  if (!s.debugStartup && (!s.startupDebugger.empty() || !s.startupDebuggerOpts.empty()))
    gen_warning("Must specify -sr_debug_startup with -sr_debug_debugger and "
                "-sr_debug_debugger_opts.");
}

}  // namespace

bool ServiceRouter_Proxy::argsIndicateLaunchedFromServiceRouter(
    int argc, const char* const* argv) {
  static const char* const markers[] = {"-connect_servicerouter",
                                        "-sr_connect_servicerouter_host",
                                        "-sr_connect_servicerouter_port"};
  for (int i = 0; i + 1 < argc; i++) {
    if (!argv[i]) continue;
    for (const char* m : markers)
      if (strcmp(argv[i], m) == 0) return true;
  }
  return false;
}

bool ServiceRouter_Proxy::isSRArgument(int argc, const char* const* argv, int index,
                                       int* count) {
  const SRArgument* a = index >= 0 && index < argc ? find(argv[index]) : nullptr;
  if (!a) return false;
  if (count) *count = a->takesValue && index + 1 < argc ? 2 : 1;
  return true;
}

void SRProxy::takeArguments(int* argc, char** argv) {
  int kept = 0;
  for (int i = 0; i < *argc;) {
    int count = 1;
    if (!ServiceRouter_Proxy::isSRArgument(*argc, argv, i, &count)) {
      argv[kept++] = argv[i++];
      continue;
    }
    apply(settings, argv[i], count == 2 ? argv[i + 1] : nullptr);
    i += count;
  }
  for (int i = kept; i < *argc; i++) argv[i] = nullptr;
  *argc = kept;
  warnInconsistentDebugging(settings);
}
