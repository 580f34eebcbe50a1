// The requesting side of the diff view service: one connection to the
// viewer that runs, made through the router (which starts one when none
// runs), and the calls made on it.
#pragma once

#include "services/interfaces/DiffView_client_Impl.h"

class RetryHandler;

class DiffView_Client : public DiffView_client_Impl {
 public:
  // A client connected to the service, or null when there is no router,
  // no provider, or the connection failed (the caller then serves the
  // request itself).  Waits up to 60 s for a viewer to start.
  static DiffView_Client* CreateDiffView_Client();
  // Drops the connection and releases the client.
  static void CloseDiffView_Client(DiffView_Client* client);

  void msg_WordClicked(const char* text) override;

  // The wait of every call to the service, made with the first client:
  // 30 s, then the user is asked.
  static RetryHandler* retry_handler;

 protected:
  ~DiffView_Client() override;
};
