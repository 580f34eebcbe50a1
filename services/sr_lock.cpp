// The registration lock: a file created exclusively beside the
// registration, held while a tool reads the registration and starts a
// router, broken when its holder left it behind for a minute.
#include "services/sr_registration.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "base/gen.h"
#include "services/sr_files.h"

namespace {

enum class Attempt { locked, held, untrusted, failed };

// One try; a stale lock is broken and the creation tried again at once.
Attempt try_lock(const std::string& lock) {
  for (int pass = 0; pass < 2; pass++) {
    if (sr_create_exclusive(lock, std::to_string(getpid()) + "\n")) return Attempt::locked;
    if (errno != EEXIST && errno != ELOOP) return Attempt::failed;
    std::string why;
    struct stat info;
    SRFileTrust trust = sr_check_file(lock, &why, &info);
    if (trust == SRFileTrust::absent) continue;  // released meanwhile
    if (trust == SRFileTrust::untrusted) {
      sr_warn_untrusted(lock, why);
      return Attempt::untrusted;
    }
    if (time(nullptr) - info.st_mtime <= kSRLockStaleSeconds) return Attempt::held;
    gen_warning("Breaking lock on file %s because it is more than %d seconds old.\n",
                lock.c_str(), kSRLockStaleSeconds);
    unlink(lock.c_str());
  }
  return Attempt::held;
}

}  // namespace

SRLockResult sr_lock_registration(const std::string& registrationPath, int waitMs) {
  const std::string lock = sr_lock_path(registrationPath);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    switch (try_lock(lock)) {
      case Attempt::locked: return SRLockResult::locked;
      case Attempt::untrusted: return SRLockResult::untrusted;
      case Attempt::failed: return SRLockResult::failed;
      case Attempt::held: break;
    }
    if (std::chrono::steady_clock::now() >= deadline) return SRLockResult::timedOut;
    std::this_thread::sleep_for(std::chrono::milliseconds(kSRLockRetryMs));
  }
}

void sr_unlock_registration(const std::string& registrationPath) {
  unlink(sr_lock_path(registrationPath).c_str());
}

SRRegistrationLock::SRRegistrationLock(std::string registrationPath, int waitMs)
    : path_(std::move(registrationPath)), result_(sr_lock_registration(path_, waitMs)) {}

SRRegistrationLock::~SRRegistrationLock() {
  if (locked()) sr_unlock_registration(path_);
}
