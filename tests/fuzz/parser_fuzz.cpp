// Arbitrary bytes as a DiffView text message (kind 14) handed to the
// generated display endpoint's parser with a reply to fill; the first
// byte picks the message id it comes with (-1: found by its name).  Every
// field read reaches the handlers, and the trace lines are written.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/gen.h"
#include "libs/stp_transport/stp_log.h"
#include "services/interfaces/DiffView_display_Impl.h"

namespace {

size_t touch(const char* s) { return s ? strlen(s) : 0; }

class Display : public DiffView_display_Impl {
 public:
  void msg_CreateNewDiff(const char* command, const char* current, int, int,
                         char** error) override {
    touched += touch(command) + touch(current);
    *error = gen_copy(command);
  }
  void msg_CreateNewDiffByFilename(const char* l, const char* lv, const char* ld, const char* r,
                                   const char* rv, const char* rd, int, int, int,
                                   char** error) override {
    touched += touch(l) + touch(lv) + touch(ld) + touch(r) + touch(rv) + touch(rd);
    *error = gen_copy(rd);
  }
  void msg_ChooseNewDiff(const char* l, const char* r, int, int) override {
    touched += touch(l) + touch(r);
  }
  size_t touched = 0;
};

// Takes every line and drops it.
struct NullLog : STPLog {
  using STPLog::add;
  void add(const void*, long length) override { bytes += length; }
  long bytes = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static NullLog log;
  static Display* display = [] {
    gen_init("fuzz_parser", 0, 0);
    auto* d = new Display;
    d->setLogging(&log);
    return d;
  }();
  if (size == 0) return 0;
  const int32_t id = static_cast<int32_t>(data[0] % 6) - 1;
  STPOMsg frame(1, 2, STP_KIND_ASCII, static_cast<uint32_t>(id), 0, 97, 0, 1);
  frame.put_bytes(data + 1, static_cast<long>(size - 1));
  frame.finishMessage(3);
  uint32_t header = 0, body = 0;
  const uint8_t* bytes = frame.getContent(&header, &body);
  STPAsciiIMsg in(bytes, header, body);
  STPAsciiOMsg reply(2, 1, STP_REPLY_KIND, STP_REPLY_KIND, 3, 0, 0, 1);
  display->handleAsciiMessage(&in, &reply, id);
  return 0;
}
