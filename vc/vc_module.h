// The dispatcher between the façade and the services: one per process
// (absent while version control is disabled).  It knows the configured
// type, the type it talks to now and the client connected to that type's
// service; in automatic detection it switches client as the viewer moves
// from file to file.  Every call waits under one retry handler (60 s,
// then the user is asked); a call that fails on the transport alerts
// "Failed to complete version control operation, disabling version
// control" and drops the client.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

class RetryHandler;
class TStat;
class VersionControl_Client;

class Vorne_VC_Module {
 public:
  // Connects the client of a system type at once (failing, alerts "Unable
  // to start version control client. Version control operations will not
  // work."); automatic detection starts without one.
  explicit Vorne_VC_Module(int type);
  ~Vorne_VC_Module();
  Vorne_VC_Module(const Vorne_VC_Module&) = delete;
  Vorne_VC_Module& operator=(const Vorne_VC_Module&) = delete;

  // Whether version control may be used at all.
  static bool VCEnabled();
  // The "VersionControl.<System>" service of a type; null for none.
  static const char* serviceName(int type);

  int configuredType() const { return configured_; }
  int activeType() const { return active_; }  // -1: none
  bool hasLiveClient() const;

  // Whether the file is under version control.  Automatic detection
  // answers from the file system (git asks its service, which knows what
  // the work tree tracks).
  bool FileIsInVC(const char* file);

  // One message about `file`: the stub call is made by `send` on the
  // client with the error out-parameter, the retry handler and the status.
  // False with *error set to the service's error text (empty after a
  // transport failure, which alerts by itself, or without a client).
  using Send = std::function<bool(VersionControl_Client* client, char** error,
                                  RetryHandler* handler, TStat* status)>;
  bool call(const char* file, std::string* error, const Send& send);

 private:
  bool switchFor(const char* file);
  bool connect(int type, bool alertOnFailure);
  void dropClient();

  int configured_;
  int active_ = -1;
  VersionControl_Client* client_ = nullptr;
  std::shared_ptr<RetryHandler> retry_;  // on the client; held by calls in progress
  std::set<int> failed_;  // types whose service did not start (no retry, no alert)
};
