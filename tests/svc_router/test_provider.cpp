// A provider the router starts from a test's service table: it connects to
// the router as it is told, confirms its start cookie, offers the service
// "Echo", accepts every connection and sends each frame it gets back with
// its message id plus 1000.  It ends with its link.
#include <cstdlib>
#include <cstring>

#include "router_harness.h"

using router_test::Tool;

namespace {

// Echoes whatever reaches the service RN.
class Echo : public ResponseListener {
 public:
  explicit Echo(Tool& tool) : tool_(tool) {}
  bool handleResponse(STPIMsg* m, bool) override {
    const STPHeader& h = m->header();
    tool_.sendFrame(h.dest_rn, h.source_rn, h.message_id + 1000);
    return true;
  }

 private:
  Tool& tool_;
};

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  uint32_t cookie = 0;
  for (int i = 1; i + 1 < argc; i++) {
    if (!std::strcmp(argv[i], "-connect_servicerouter")) port = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "-sr_client_start_cookie")) cookie = std::atoi(argv[i + 1]);
  }
  Tool tool(port);
  if (!tool.introduce()) return 1;
  tool.p->acceptAll = true;
  tool.p->send_StartPluginEvent(cookie, 1, "", false);
  tool.p->send_RegisterServiceList({"Echo"}, false);
  if (!tool.waitFor([&] { return !tool.p->rns.empty(); })) return 1;
  Echo echo(tool);
  // The listener key is (client RN, service RN): one per connection.
  size_t served = 0;
  while (tool.alive()) {
    tool.t->serviceOnce(100, nullptr);
    for (; served < tool.p->requested.size(); served++) {
      uint32_t client = tool.p->requested[served][2];
      tool.t->registerMessageListener(client, tool.p->rns[0], &echo, STP_KIND_BINARY);
      tool.t->dequeueAndDeliverMessage(client, tool.p->rns[0], STP_KIND_BINARY);
    }
  }
  return 0;
}
