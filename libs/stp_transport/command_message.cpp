// The command call on a transport, apart from the endpoint form so that it
// can be used (and tested) without an interface endpoint.
#include "libs/stp_transport/command_system.h"

#include <memory>

#include "base/gen.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/transport.h"

bool stp_sendCommandMessage(STPTransport* transport, uint32_t localRN, uint32_t remoteRN,
                            const char* command, int32_t action, bool* result, char** text,
                            RetryHandler* handler, TStat* status) {
  std::unique_ptr<STPAsciiOMsg> call(transport->createAsciiMessage(
      localRN, remoteRN, STP_KIND_COMMAND, static_cast<uint32_t>(-1), STP_FLAG_WANTS_REPLY));
  call->putNumber("__action", static_cast<uint32_t>(action));
  call->putRawString(command);
  uint32_t sequence = transport->sendMessage(call.get(), handler, status);
  if (!sequence) return false;
  std::unique_ptr<STPIMsg> reply(transport->awaitResponse(sequence, handler, status));
  if (!reply) return false;
  STPAsciiIMsg in(*reply);
  bool res = in.getNumber("__res") != 0;
  if (result) *result = res;
  if (text) *text = gen_copy(in.getRemainder());
  return true;
}
