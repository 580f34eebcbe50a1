// Log blocks forwarded to the router.
#include "services/forwarding_log.h"

#include <sys/time.h>

#include "base/gen.h"
#include "services/interfaces/ServiceRouter_plugin_Impl.h"

void ForwardingSTPLog::add(const void* bytes, long length) {
  if (length > 0) block_.append(static_cast<const char*>(bytes), static_cast<size_t>(length));
  if (!inBlock_) logEnd(nullptr, true);  // text outside a block goes alone
}

void ForwardingSTPLog::logStart(STPSpecClass*, bool) {
  inBlock_ = true;
  block_.clear();
}

void ForwardingSTPLog::logEnd(STPSpecClass*, bool) {
  inBlock_ = false;
  if (block_.empty() || link_->isSendingDown()) return;
  timeval now;
  gettimeofday(&now, nullptr);
  char* stamped = gen_asprintf("%d:%u: %s", static_cast<int>(now.tv_sec),
                               static_cast<unsigned>(now.tv_usec / 1000), block_.c_str());
  block_.clear();
  link_->send_LogMessageEvent(stamped, false);
  gen_free(stamped);
}
