// The display side of the diff view service in a process of its own, for
// the two-process test: connects back to the host and port it is given
// (as the launcher passes them), negotiates, answers the calls with what
// it received, and echoes each one-way message as a WordClicked back.  It
// ends when the connection does.
#include <cstdlib>

#include "base/gen.h"
#include "services/interfaces/DiffView_display_Impl.h"

namespace {

const char* shown(const char* s) { return s ? s : "(null)"; }

class EchoDisplay : public DiffView_display_Impl {
 public:
  void msg_CreateNewDiff(const char* command, const char* current, int reuse, int append,
                         char** error) override {
    *error = gen_asprintf("%s|%s|%d|%d", shown(command), shown(current), reuse, append);
  }
  void msg_CreateNewDiffByFilename(const char* left, const char* leftVersion, const char* leftDate,
                                   const char* right, const char* rightVersion,
                                   const char* rightDate, int reuse, int append, int type,
                                   char** error) override {
    *error = gen_asprintf("%s@%s@%s|%s@%s@%s|%d|%d|%d", shown(left), shown(leftVersion),
                          shown(leftDate), shown(right), shown(rightVersion), shown(rightDate),
                          reuse, append, type);
  }
  void msg_GotoRange(int start, int end) override {
    echo(gen_asprintf("GotoRange %d %d", start, end));
  }
  void msg_ChooseNewDiff(const char* left, const char* right, int reuse, int type) override {
    echo(gen_asprintf("ChooseNewDiff %s %s %d %d", shown(left), shown(right), reuse, type));
  }

 private:
  void echo(char* text) {
    send_WordClicked(text, false);
    gen_free(text);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  gen_init(argv[0], 0, 0);
  auto* transport = new STPTransport;
  TStat status;
  if (!transport->connect(argv[1], atoi(argv[2]), &status)) return 1;
  auto* display = new EchoDisplay;
  display->setTransport(transport, 0, 0);
  if (!display->negotiate(display->getDefaultRetryHandler(), &status)) return 1;
  while (transport->isAlive()) transport->serviceOnce(1000, nullptr);
  display->delRef();
  transport->delRef();
  return 0;
}
