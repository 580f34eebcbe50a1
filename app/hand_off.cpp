// The hand-off: one request sent to a running viewer, whose answer decides
// this process's exit status.
#include "app/hand_off.h"

#include <cstring>
#include <string>

#include "app/usage.h"
#include "base/gen.h"
#include "libs/stp_transport/tstat.h"
#include "services/diffview/diffview.h"
#include "services/servicerouter_proxy.h"

char* app_RequestString(int argc, char** argv) {
  std::string request;
  for (int i = 1; i < argc; i++) {
    const char* word = argv[i];
    if (!word || !*word) continue;
    if (!request.empty()) request += ' ';
    bool blank = std::strchr(word, ' ') != nullptr;
    request.append(blank ? "\"" : "").append(word).append(blank ? "\"" : "");
  }
  return gen_copy(request.c_str());
}

namespace {

// Sends the request; never returns.
[[noreturn]] void sendRequest(DiffView_Client* client, char* request, const StartOptions& o) {
  TStat status;
  bool sent;
  char* error = nullptr;
  if (o.ask) {
    ServiceRouter_Proxy::setPluginPersistence(true, nullptr, nullptr);
    sent = client->send_ChooseNewDiff(nullptr, nullptr, o.reuse, o.options, true, nullptr, &status);
  } else {
    sent = client->send_CreateNewDiff(request, nullptr, o.reuse, o.add, &error,
                                      DiffView_Client::retry_handler, &status);
  }
  gen_free(request);
  DiffView_Client::CloseDiffView_Client(client);
  ServiceRouter_Proxy::shutdown(false);
  if (error) gen_errorexit(1, "%s", error);
  if (!sent) gen_errorexit(1, "the diff viewer did not answer: %s", status.getMessage().c_str());
  gen_successexit(0);
}

}  // namespace

void app_HandOff(int* argc, char** argv, const StartOptions& o) {
  if (!ServiceRouter_Proxy::startup(true, argc, argv, nullptr, false, nullptr, false, true))
    return;
  char* request = app_RequestString(*argc, argv);
  if (!*request && !o.ask) {
    usage();
    gen_successexit(0);
  }
  DiffView_Client* client = DiffView_Client::CreateDiffView_Client();
  if (!client) {
    gen_free(request);
    return;
  }
  sendRequest(client, request, o);
}
