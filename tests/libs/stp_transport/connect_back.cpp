// A program for the launcher tests, started as  connect_back HOST PORT MODE ...
//   exit    lives 100 ms without connecting, then exits with status 3;
//   report  connects to HOST:PORT, sends its whole argument vector as one
//           text message of strings, and stays until the connection ends.
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/transport.h"

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  if (std::string(argv[3]) == "exit") {
    usleep(100 * 1000);
    return 3;
  }
  auto* t = new STPTransport;
  if (!t->connect(argv[1], std::atoi(argv[2]), nullptr)) return 1;
  std::unique_ptr<STPAsciiOMsg> m(t->createAsciiMessage(2, 1, STP_KIND_ASCII, 0, STP_FLAG_ONE_WAY));
  for (int i = 0; i < argc; i++) m->putString(argv[i]);
  t->sendMessage(m.get(), nullptr, nullptr);
  while (t->serviceOnce(10000, nullptr)) {
  }
  t->delRef();
  return 0;
}
