// STPCommandSystem: a small text command channel on an interface endpoint.
// A command goes out as a kind-13 text message (message id -1, reply
// wanted) whose body is the number "__action" and the command text; the
// reply's number "__res" is the result, and the rest of the reply text
// comes back to the caller.  The receiving endpoint's command handler sees
// the action and answers with "__ret".
#pragma once

#include <cstdint>

#include "libs/stp_transport/tstat.h"

class RetryHandler;
class STPSpecClass;
class STPTransport;

enum STPCommandAction : int32_t {
  STP_COMMAND_EXECUTE = 1,
  STP_COMMAND_IS_VISIBLE = 2,
  STP_COMMAND_IS_ENABLED = 3,
  STP_COMMAND_IS_CHECKED = 4,
  STP_COMMAND_IS_SYNTAX_OK = 5,
};

// The call itself, on a transport between two routing numbers: true when
// a reply came, with *result from its "__res" and *text (when given) a new
// string (gen_free) holding the rest of the reply text.
bool stp_sendCommandMessage(STPTransport* transport, uint32_t localRN, uint32_t remoteRN,
                            const char* command, int32_t action, bool* result, char** text,
                            RetryHandler* handler, TStat* status);

class STPCommandSystem {
 public:
  // The endpoint must outlive this object; each call holds a reference on
  // it while it waits.
  explicit STPCommandSystem(STPSpecClass* endpoint) : endpoint_(endpoint) {}

  // On the endpoint's transport and routing numbers; a null handler takes
  // the endpoint's default one.
  bool send_STPCommandSystemMessage(const char* command, int32_t action, bool* result,
                                    char** text, RetryHandler* handler, TStat* status);
  // The reply's result; *text as above.
  bool executeSTPCommand(const char* command, char** text, RetryHandler* handler = nullptr,
                         TStat* status = nullptr);
  bool isSTPCommandVisible(const char* command, RetryHandler* handler = nullptr,
                           TStat* status = nullptr);
  bool isSTPCommandEnabled(const char* command, RetryHandler* handler = nullptr,
                           TStat* status = nullptr);
  bool isSTPCommandChecked(const char* command, RetryHandler* handler = nullptr,
                           TStat* status = nullptr);
  bool isSTPSyntaxOK(const char* command, RetryHandler* handler = nullptr,
                     TStat* status = nullptr);

  // The local variants (executeLocalSTPCommand and the like) build the
  // same text message in memory and hand it to the endpoint's own command
  // handler without a transport.  They come with the endpoint's dispatch
  // (STPSpecClass::handleCommandMessage and the "__ret" it adds), which
  // they must share rather than repeat.

 private:
  bool ask(const char* command, int32_t action, RetryHandler* handler, TStat* status);

  STPSpecClass* endpoint_;
};
