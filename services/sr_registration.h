// The service router's registration file: where a shared router announces
// its port and pid so that the tools of one user, display and host find it,
// and the lock under which a tool reads the file and starts a router.
// Written by the router program, read by every tool.  Files are created
// exclusively with mode 0600 and never through a symbolic link; a file that
// is not a regular file of this user, or that others may write, is not
// trusted.
#pragma once

#include <string>

// ---- names ------------------------------------------------------------------

// The directory of registration files: $TMPDIR when it is a directory we
// may write, else "/var/tmp/", else "/tmp".  Read afresh on every call.
std::string sr_registration_dir();
// "svc" (with "_" and the zone when `zone` is not empty) in that directory.
std::string sr_registration_path(const std::string& zone);
// The lock file of a registration: its suffix replaced by ".lock".
std::string sr_lock_path(const std::string& registrationPath);

// The display id: `displayName` when not empty, otherwise derived from
// $DISPLAY ("DISP" + host + ":0.0" for an unset, empty or display-0 value,
// "DISP" + host + value for a bare ":N[.M]", else "DISP" + value).
std::string sr_display_id(const std::string& displayName);
// The zone used when none is given: the MD5 digest (32 lowercase hex
// digits, each byte's low nibble first) of the modification time of
// `routerDir`/servicerouter (when it exists), the absolute `routerDir`,
// `displayId`, the user name, the host name and $CLEARCASE_ROOT.
std::string sr_default_zone(const std::string& routerDir, const std::string& displayId);
// The hex form above of 16 digest bytes (exposed for its tests).
std::string sr_digest_hex(const unsigned char digest[16]);

// ---- the file ---------------------------------------------------------------

// Writes an options database headed "Service Router" with the integer
// attributes "Port" and "Pid", through a new temporary file beside `path`
// renamed into place.  False with *error (when not null) set on failure.
bool sr_write_registration(const std::string& path, int port, int pid, std::string* error);
// Deletes the file; false when it was there and could not be deleted.
bool sr_remove_registration(const std::string& path);
// Deletes the file only when it names `pid` (a router leaving must not
// remove the registration of a router that replaced it).
bool sr_remove_own_registration(const std::string& path, int pid);

enum class SRRegistrationState {
  absent,     // no file, unreadable, incomplete, or its process is gone
  valid,      // *port and *pid are set
  untrusted,  // the file exists but is not a regular 0600-style file of ours
};
// Reads the registration.  An untrusted file is reported with a warning
// naming it and why; the caller should then use a private router.
SRRegistrationState sr_read_registration(const std::string& path, int* port, int* pid);

// ---- the lock ---------------------------------------------------------------

constexpr int kSRLockWaitMs = 20000;     // how long a tool tries to lock
constexpr int kSRLockRetryMs = 100;      // between tries
constexpr int kSRLockStaleSeconds = 60;  // an older lock is broken

enum class SRLockResult {
  locked,
  timedOut,   // someone else held it for the whole wait
  untrusted,  // the lock file is not a regular file of ours (warned)
  failed,     // it cannot be created (directory not writable, ...)
};
// Creates the lock file of `registrationPath`, trying every
// kSRLockRetryMs for up to `waitMs`; a lock older than kSRLockStaleSeconds
// is broken with the warning "Breaking lock on file %s because it is more
// than %d seconds old.\n".
SRLockResult sr_lock_registration(const std::string& registrationPath,
                                  int waitMs = kSRLockWaitMs);
// Deletes the lock file.
void sr_unlock_registration(const std::string& registrationPath);

// Holds the lock for a scope.
class SRRegistrationLock {
 public:
  explicit SRRegistrationLock(std::string registrationPath, int waitMs = kSRLockWaitMs);
  ~SRRegistrationLock();
  SRRegistrationLock(const SRRegistrationLock&) = delete;
  SRRegistrationLock& operator=(const SRRegistrationLock&) = delete;
  SRLockResult result() const { return result_; }
  bool locked() const { return result_ == SRLockResult::locked; }

 private:
  std::string path_;
  SRLockResult result_;
};
