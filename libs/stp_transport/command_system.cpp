// The command channel on an endpoint: its transport, routing numbers and
// default retry handler, with a reference held for the call.
#include "libs/stp_transport/command_system.h"

#include "libs/stp_transport/endpoint.h"

bool STPCommandSystem::send_STPCommandSystemMessage(const char* command, int32_t action,
                                                    bool* result, char** text,
                                                    RetryHandler* handler, TStat* status) {
  if (!endpoint_->getTransport()) {
    if (status) status->set(TSTAT_CONNECTION, "[send]: virtual connection is down");
    return false;
  }
  endpoint_->addRef();
  bool ok = stp_sendCommandMessage(endpoint_->getTransport(), endpoint_->getLocalRN(),
                                   endpoint_->getRemoteRN(), command, action, result, text,
                                   handler ? handler : endpoint_->getDefaultRetryHandler(),
                                   status);
  endpoint_->delRef();
  return ok;
}

bool STPCommandSystem::ask(const char* command, int32_t action, RetryHandler* handler,
                           TStat* status) {
  bool result = false;
  return send_STPCommandSystemMessage(command, action, &result, nullptr, handler, status) &&
         result;
}

bool STPCommandSystem::executeSTPCommand(const char* command, char** text,
                                         RetryHandler* handler, TStat* status) {
  bool result = false;
  return send_STPCommandSystemMessage(command, STP_COMMAND_EXECUTE, &result, text, handler,
                                      status) &&
         result;
}

bool STPCommandSystem::isSTPCommandVisible(const char* command, RetryHandler* handler,
                                           TStat* status) {
  return ask(command, STP_COMMAND_IS_VISIBLE, handler, status);
}

bool STPCommandSystem::isSTPCommandEnabled(const char* command, RetryHandler* handler,
                                           TStat* status) {
  return ask(command, STP_COMMAND_IS_ENABLED, handler, status);
}

bool STPCommandSystem::isSTPCommandChecked(const char* command, RetryHandler* handler,
                                           TStat* status) {
  return ask(command, STP_COMMAND_IS_CHECKED, handler, status);
}

bool STPCommandSystem::isSTPSyntaxOK(const char* command, RetryHandler* handler,
                                     TStat* status) {
  return ask(command, STP_COMMAND_IS_SYNTAX_OK, handler, status);
}
