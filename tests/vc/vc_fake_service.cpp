// A stand-in for the version-control tool in the façade's tests: started
// by the router, it offers "VersionControl.RCS" and "VersionControl.CVS"
// and answers from the version asked for alone (unanswered messages reply
// empty, as a service without the feature would).  A version's text names
// the service; version "bad" fails with the system's kind of message;
// version "die" kills the tool in the middle of the call.
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "base/gen.h"
#include "services/service_factory.h"
#include "services/servicerouter_proxy.h"
#include "services/svc_event_loop.h"
#include "vc/VersionControl_server_Impl.h"

namespace {

class FakeServer : public VersionControl_server_Impl {
 public:
  explicit FakeServer(std::string service) : service_(std::move(service)) {}

  void msg_GetVersionInfo(const char* file, const char* version, VersionInfo* info,
                          char**) override {
    *info = VersionInfo(file, version, service_.c_str(), "2026/01/02 03:04:05", "");
  }
  void msg_RestoreFileToVersion(const char* source, const char* out, const char* version, int,
                                char** error) override {
    const std::string v = version ? version : "";
    if (v == "die") kill(getpid(), SIGKILL);
    if (v == "bad") {
      *error = gen_copy("co: RCS/f.txt,v: revision bad absent");
      return;
    }
    std::ofstream(out) << service_ << " " << v << " of " << source << "\n";
  }

 private:
  std::string service_;
};

class FakeFactory : public ServiceFactory {
 public:
  explicit FakeFactory(const char* name) : ServiceFactory(name, -1, true), name_(name) {}
  STPSpecClass* getService(STPTransport* t, uint32_t local, uint32_t remote) override {
    auto* server = new FakeServer(name_);
    server->setTransport(t, local, remote);
    return server;
  }

 private:
  std::string name_;
};

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  FakeFactory rcs("VersionControl.RCS"), cvs("VersionControl.CVS");
  if (!ServiceRouter_Proxy::startup(true, &argc, argv, nullptr, false, nullptr, true, false))
    return 1;
  Svc_EventLoop().enterLoop();
  ServiceRouter_Proxy::shutdown(true);
  return 0;
}
