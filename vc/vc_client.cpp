// Connecting to a version-control service and answering its questions.
#include "vc/vc_client.h"

#include "base/gen.h"
#include "gui/widgets/prompt.h"
#include "libs/stp_transport/transport.h"
#include "services/servicerouter_proxy.h"
#include "services/windlib/windlib.h"
#include "vc/vc.h"

namespace {

constexpr long kStartMs = 15000;
constexpr long kFirstCallMs = 15000;
bool optimistic = false;

}  // namespace

VersionControl_Client* VersionControl_Client::getVersionControl_Client(const char* serviceName) {
  STPTransport* transport = ServiceRouter_Proxy::getTransport();
  if (!transport || !serviceName) return nullptr;
  auto* client = new VersionControl_Client;
  STPWindLibRetryHandler waitForStart(transport, kStartMs,
                                      "Version control service has still not started");
  bool found = false, accepted = false;
  if (!ServiceRouter_Proxy::getServiceConnection(serviceName, client, &found, &accepted,
                                                 &waitForStart) ||
      !found || !accepted) {
    client->delRef();
    return nullptr;
  }
  ConnWindLibRetryHandler waitForAnswer(client, kFirstCallMs,
                                        "Version control operation has still not finished");
  int isOptimistic = 0;
  char* error = nullptr;
  const bool answered = client->send_IsVCOptimistic(&isOptimistic, &error, &waitForAnswer);
  gen_free(error);
  if (!answered) {
    release(client);
    return nullptr;
  }
  optimistic = isOptimistic != 0;
  client->alive_ = true;
  return client;
}

void VersionControl_Client::release(VersionControl_Client* client) {
  if (!client) return;
  client->alive_ = false;
  ServiceRouter_Proxy::dropServiceConnection(client, nullptr, true);
  client->delRef();
}

bool VersionControl_Client::isAlive() const {
  return alive_ && getTransport() && !getTransport()->isDead() && !isDown();
}

bool VersionControl_Client::IsVCOptimistic() { return optimistic; }
void VersionControl_Client::SetVCOptimistic(bool on) { optimistic = on; }
bool VersionControl_Client::VCEnabled() { return Vorne_VC_Module::VCEnabled(); }
void VersionControl_Client::DisableVersionControl() { vc_DisableVersionControl(); }

// A cancelled dialogue answers with an empty text.
void VersionControl_Client::msg_QueryUser(const char* request, char** response) {
  char* answer = gui_Prompt(nullptr, "Version Control", request ? request : "", "");
  *response = answer ? answer : gen_copy("");
}
