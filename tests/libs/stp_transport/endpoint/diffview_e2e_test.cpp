// The generated DiffView stubs between two processes over loopback TCP:
// the test is the client; tests' diffview_peer, started through the
// launcher, is the display.  Calls with reply, one-way messages both ways,
// the trace lines, and a call after the peer has gone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "endpoint_support.h"
#include "libs/stp_transport/child_process.h"
#include "libs/stp_transport/stp_log.h"
#include "services/interfaces/DiffView_client_Impl.h"

namespace {

using endpoint_test::serviceUntil;

class Client : public DiffView_client_Impl {
 public:
  void msg_WordClicked(const char* text) override { words.push_back(text ? text : "(null)"); }
  std::vector<std::string> words;
};

struct Capture : STPLog {
  void add(const void* bytes, long length) override {
    text.append(static_cast<const char*>(bytes), static_cast<size_t>(length));
  }
  using STPLog::add;
  std::string text;
};

class DiffViewProcesses : public testing::Test {
 protected:
  void SetUp() override {
    child.setTransport(transport);
    child.setCommand(DIFFVIEW_PEER);
    TStat status;
    ASSERT_TRUE(child.launch(&handler, &status)) << status.getMessage();
    client->setTransport(transport, 0, 0);
    client->setLogging(&log);
    ASSERT_TRUE(client->negotiate(&handler, &status)) << status.getMessage();
  }
  void TearDown() override {
    client->delRef();
    transport->closeConnection();
    STPRetryHandler patience(nullptr, 1000000 + endpoint_test::kPatienceMs);
    if (child.getPID() > 0) {  // not when the test killed it
      EXPECT_TRUE(killPID(child.getPID(), &patience)) << "the peer did not end with its connection";
    }
    transport->delRef();
  }
  STPTransport* transport = new STPTransport;
  TimeoutSTPRetryHandler handler{transport, endpoint_test::kPatienceMs};
  STPChildProcess child;
  Client* client = new Client;
  Capture log;
};

struct Call {
  const char* command;
  const char* current;
  int reuse, append;
  std::string echoed;  // "$HOME" stands for the home directory
};

const Call kCalls[] = {
    {"left right", "/tmp/x", 1, 0, "left right|/tmp/x|1|0"},
    {"", nullptr, 0, 1, "|(null)|0|1"},
    {"say \"hi\" \\ \nnext", "~/f", 0, 0, "say \"hi\" \\ \nnext|$HOME/f|0|0"},
};

TEST_F(DiffViewProcesses, CallsCarryTheirFieldsAndBringTheReplyBack) {
  for (const Call& c : kCalls) {
    std::string expected = c.echoed;
    if (size_t home = expected.find("$HOME"); home != std::string::npos)
      expected.replace(home, 5, getenv("HOME"));
    char* error = nullptr;
    TStat status;
    ASSERT_TRUE(client->send_CreateNewDiff(c.command, c.current, c.reuse, c.append, &error,
                                           &handler, &status))
        << status.getMessage();
    EXPECT_EQ(std::string(error ? error : "(null)"), expected);
    gen_free(error);
  }
  EXPECT_EQ(log.text.substr(0, log.text.find('\n', log.text.find("RECV")) + 1),
            "SEND: CreateNewDiff: command:\"left right\", current_filename:\"/tmp/x\", "
            "reuse:0x1, append:0x0\nRECV: CreateNewDiff: error_str:\"left right|/tmp/x|1|0\"\n");

  char* error = nullptr;
  ASSERT_TRUE(client->send_CreateNewDiffByFilename("/a", "1.2", nullptr, "/b", nullptr, "today",
                                                   1, 0, 3, &error, &handler, nullptr));
  EXPECT_STREQ(error, "/a@1.2@(null)|/b@(null)@today|1|0|3");
  gen_free(error);
}

TEST_F(DiffViewProcesses, OneWayMessagesArriveInOrderBothWays) {
  TStat status;
  ASSERT_TRUE(client->send_GotoRange(5, 9, false, &handler, &status));
  ASSERT_TRUE(client->send_ChooseNewDiff("/l", "/r", 1, 2, true, &handler, &status));
  ASSERT_TRUE(client->send_GotoRange(-1, 0, false, &handler, &status));
  ASSERT_TRUE(serviceUntil(transport, [&] { return client->words.size() == 3; }));
  EXPECT_EQ(client->words, (std::vector<std::string>{"GotoRange 5 9", "ChooseNewDiff /l /r 1 2",
                                                     "GotoRange -1 0"}));
  EXPECT_NE(log.text.find("RECV: WordClicked: text:\"GotoRange 5 9\"\n"), std::string::npos);
}

TEST_F(DiffViewProcesses, ACallAfterThePeerHasGoneFailsAndLeavesTheReplyNull) {
  child.killChild();
  char* error = gen_copy("stale");
  TStat status;
  EXPECT_FALSE(client->send_CreateNewDiff("x", nullptr, 0, 0, &error, &handler, &status));
  EXPECT_EQ(error, nullptr);
  EXPECT_NE(status.getCode(), TSTAT_OK);
  EXPECT_FALSE(client->send_CreateNewDiff("x", nullptr, 0, 0, &error, &handler, &status));
  EXPECT_NE(log.text.find("SEND FAILED: CreateNewDiff\n"), std::string::npos) << log.text;
}

}  // namespace
