// Connecting to the diff view service and letting go of it.
#include "services/diffview/diffview_client.h"

#include "services/servicerouter_proxy.h"
#include "services/windlib/windlib.h"

RetryHandler* DiffView_Client::retry_handler = nullptr;

namespace {

constexpr long kStartMs = 60000;
constexpr long kCallMs = 30000;

}  // namespace

DiffView_Client* DiffView_Client::CreateDiffView_Client() {
  STPTransport* transport = ServiceRouter_Proxy::getTransport();
  if (!transport) return nullptr;
  auto* client = new DiffView_Client;
  STPWindLibRetryHandler waitForStart(transport, kStartMs,
                                      "Diff View service has still not started");
  bool found = false, accepted = false;
  if (!ServiceRouter_Proxy::getServiceConnection("DiffView", client, &found, &accepted,
                                                 &waitForStart) ||
      !found || !accepted) {
    client->delRef();
    return nullptr;
  }
  if (!retry_handler)
    retry_handler = new ConnWindLibRetryHandler(client, kCallMs, "Diff View service failed to respond");
  return client;
}

void DiffView_Client::CloseDiffView_Client(DiffView_Client* client) {
  if (!client) return;
  ServiceRouter_Proxy::dropServiceConnection(client, nullptr, true);
  client->delRef();
}

void DiffView_Client::msg_WordClicked(const char*) {}

DiffView_Client::~DiffView_Client() {
  delete retry_handler;
  retry_handler = nullptr;
}
