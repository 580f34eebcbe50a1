// The endpoint condition of a wait, apart from the handlers so that
// programs using only the handlers need no interface endpoint.
#include "libs/stp_transport/stp_retry.h"

#include "libs/stp_transport/endpoint.h"

STP_RetryCondition::STP_RetryCondition(STPSpecClass* endpoint) : endpoint_(endpoint) {
  if (endpoint_) endpoint_->addRef();
}

STP_RetryCondition::~STP_RetryCondition() {
  if (endpoint_) endpoint_->delRef();
}

bool STP_RetryCondition::mayRetry() { return endpoint_ && !endpoint_->isDown(); }
