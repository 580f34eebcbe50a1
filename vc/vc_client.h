// The viewer's end of a "VersionControl.<System>" service.  It is
// connected through the service router (which starts the serving tool when
// none runs) and answers the one question a service may ask: QueryUser,
// through a text-input dialogue.
#pragma once

#include "vc/VersionControl_client_Impl.h"

class VersionControl_Client : public VersionControl_client_Impl {
 public:
  // A live client of the service, or null when there is no router, the
  // service did not start within 15 s, or it did not answer IsVCOptimistic
  // within 15 s.
  static VersionControl_Client* getVersionControl_Client(const char* serviceName);
  // Drops the connection and releases the client.  Null is ignored.
  static void release(VersionControl_Client* client);

  // Connected, and its transport is not dead.
  bool isAlive() const;

  // Whether the system works optimistically (no locks): what the last
  // connected service said, or what the detected type implies.
  static bool IsVCOptimistic();
  static void SetVCOptimistic(bool optimistic);
  static bool VCEnabled();
  static void DisableVersionControl();

  void msg_QueryUser(const char* request_str, char** response_str) override;

 protected:
  ~VersionControl_Client() override = default;

 private:
  bool alive_ = false;
};
