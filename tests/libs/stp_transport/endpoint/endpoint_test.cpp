// The interface endpoint in one process over a loopback pair: negotiation
// (tag map, refusal of what the peer does not list), dispatch of a text
// message by its name, and a request that arrives while the endpoint waits
// for its own reply.  Where the peer's behaviour matters, the test plays
// the peer by writing its messages by hand.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "endpoint_support.h"
#include "services/interfaces/DiffView_display_Impl.h"
#include "vc/VersionControl_client_Impl.h"

namespace {

using endpoint_test::Pair;
using endpoint_test::serviceUntil;

// An endpoint of a description made up by the test.
class Plain : public STPSpecClass {
 public:
  Plain(STPInterfaceDesc d, uint32_t local, uint32_t remote)
      : STPSpecClass(std::move(d)), local_(local), remote_(remote) {}
  uint32_t getDefaultLocalRN() override { return local_; }
  uint32_t getDefaultRemoteRN() override { return remote_; }

 private:
  uint32_t local_, remote_;
};

STPInterfaceDesc describe(std::vector<std::string> tags, std::vector<std::string> own,
                          std::vector<std::string> sendable, uint32_t flags) {
  STPInterfaceDesc d;
  d.interfaceName = "Test";
  d.flags = flags;
  d.tagNames = std::move(tags);
  for (size_t i = 0; i < own.size(); i++) d.own.push_back({own[i], "", int32_t(i), 2});
  for (size_t i = 0; i < sendable.size(); i++) d.sendable.push_back({sendable[i], "", int32_t(i), 2});
  return d;
}

struct NegotiationCase {
  std::vector<std::string> peerTags;
  uint32_t peerFlags;
  std::vector<int32_t> tagMap;  // of the local tags a, b, c
  bool mayCallN;                // N is a message the peer does not list
};

const NegotiationCase kNegotiations[] = {
    {{"a", "c"}, 0, {0, -1, 1}, false},
    {{"b", "c", "d"}, 1, {-1, 0, 1}, true},
};

TEST(Endpoint, NegotiationMapsTagsAndRefusesWhatThePeerDoesNotList) {
  for (const NegotiationCase& c : kNegotiations) {
    Pair pair;
    auto* us = new Plain(describe({"a", "b", "c"}, {}, {"M", "N"}, 0), 1, 2);
    auto* peer = new Plain(describe(c.peerTags, {"M"}, {}, c.peerFlags), 2, 1);
    us->setTransport(pair.ours, 0, 0);
    peer->setTransport(pair.peer, 0, 0);
    TStat status;
    ASSERT_TRUE(us->sendNegotiate(true, &status) && peer->sendNegotiate(true, &status));
    ASSERT_TRUE(us->awaitNegotiate(nullptr, &status)) << status.getMessage();
    ASSERT_TRUE(peer->awaitNegotiate(nullptr, &status)) << status.getMessage();

    EXPECT_EQ(us->getTagMap(), c.tagMap);
    EXPECT_EQ(us->getSendableMessageDesc("M")->id, 0);
    EXPECT_EQ(us->getSendableMessageDesc("N")->id, -1);
    EXPECT_EQ(us->canSendMessage(false, false, &status), c.mayCallN);
    if (!c.mayCallN) {
      EXPECT_EQ(status.getCode(), TSTAT_NOT_SUPPORTED);
      EXPECT_EQ(status.getMessage(), "[send]: sending a message the other side does not support");
    }
    us->delRef();
    peer->delRef();
  }
}

// Serves both ends of a pair while one of them waits.
class BothEnds : public RetryHandler {
 public:
  explicit BothEnds(Pair* pair) : RetryHandler(1000000 + endpoint_test::kPatienceMs), p_(pair) {}
  void idle() override { STPTransport::serviceFirst(10, {p_->ours, p_->peer}); }

 private:
  Pair* p_;
};

TEST(Endpoint, TheSignatureRequestAndSynchronizeReachThePeer) {
  Pair pair;
  STPInterfaceDesc peerSide = describe({}, {"M", "Z"}, {}, 0);
  peerSide.own[0].signature = "a:%str% | r:%num%";
  auto* us = new Plain(describe({}, {}, {"M"}, 0), 1, 2);
  auto* peer = new Plain(peerSide, 2, 1);
  us->setTransport(pair.ours, 0, 0);
  peer->setTransport(pair.peer, 0, 0);
  BothEnds both(&pair);
  TStat status;
  ASSERT_TRUE(us->sendNegotiate(true, &status) && peer->sendNegotiate(true, &status));
  ASSERT_TRUE(us->awaitNegotiate(&both, &status)) << status.getMessage();
  ASSERT_EQ(us->getExtraMessages().size(), 1u);  // Z, which our table lacks

  ASSERT_TRUE(us->request_interface(&both, &status)) << status.getMessage();
  EXPECT_TRUE(us->isInterfaceReceived());
  EXPECT_EQ(us->getSendableMessageDesc("M")->signature, "a:%str% | r:%num%");
  // The peer waits in vain (we have not synchronized yet), but its
  // message is there when we do.
  TimeoutSTPRetryHandler briefly(pair.peer, 50);
  EXPECT_FALSE(peer->synchronize(&briefly, &status));
  EXPECT_EQ(status.getMessage(), "awaitNegotiate: timed out waiting for reply.");
  EXPECT_TRUE(us->synchronize(&both, &status)) << status.getMessage();
  us->delRef();
  peer->delRef();
}

class Display : public DiffView_display_Impl {
 public:
  void msg_GotoRange(int start, int end) override { ranges.push_back({start, end}); }
  std::vector<std::pair<int, int>> ranges;
};

TEST(Endpoint, ATextMessageWithoutIdIsDispatchedByItsName) {
  Pair pair;
  auto* display = new Display;
  display->setTransport(pair.ours, 0, 0);
  display->negotiate_local();
  pair.fromPeer(display, STP_KIND_ASCII, 0xFFFFFFFF, STP_FLAG_ONE_WAY,
                "GotoRange start:0x5 end:0x9 ");
  ASSERT_TRUE(serviceUntil(pair.ours, [&] { return !display->ranges.empty(); }));
  EXPECT_EQ(display->ranges[0], std::make_pair(5, 9));
  display->delRef();
}

class Client : public VersionControl_client_Impl {
 public:
  void msg_QueryUser(const char* request, char** response) override {
    questions.push_back(request);
    *response = gen_copy("yes");
  }
  std::vector<std::string> questions;
};

// Runs `onFirstIdle` at the first idle of a wait, then serves `t`.
class ScriptedHandler : public RetryHandler {
 public:
  ScriptedHandler(STPTransport* t, std::function<void()> onFirstIdle)
      : RetryHandler(1000000 + endpoint_test::kPatienceMs), t_(t), script_(std::move(onFirstIdle)) {}
  void idle() override {
    if (script_) std::exchange(script_, nullptr)();
    t_->serviceOnce(10, nullptr);
  }

 private:
  STPTransport* t_;
  std::function<void()> script_;
};

TEST(Endpoint, ARequestDuringItsOwnWaitIsServedAfterTheWaitWithItsReply) {
  Pair pair;
  auto* client = new Client;
  client->setTransport(pair.ours, 0, 0);
  client->negotiate_local();
  endpoint_test::Replies replies(pair.peer, client);
  // While the client waits, the peer asks something outside the call's
  // transaction, then answers the call.
  ScriptedHandler handler(pair.ours, [&] {
    uint32_t kind = 0, id = 0;
    uint32_t call = pair.ours->getLastMessageID(&kind, &id);
    pair.fromPeer(client, STP_KIND_ASCII, Client::kMsg_QueryUser, 97,
                  "QueryUser request_str:\"overwrite?\" ");
    pair.replyFromPeer(client, call, "vc_username:\"ann\" error_string:\"\" ");
  });
  char* user = nullptr;
  char* error = nullptr;
  TStat status;
  ASSERT_TRUE(client->send_GetVCUsername(&user, &error, &handler, &status)) << status.getMessage();
  EXPECT_STREQ(user, "ann");
  EXPECT_TRUE(client->questions.empty()) << "delivered during the wait";
  EXPECT_EQ(client->getDeferredCount(), 1);

  ASSERT_TRUE(serviceUntil(pair.ours, [&] { return !client->questions.empty(); }));
  EXPECT_EQ(client->questions[0], "overwrite?");
  EXPECT_EQ(client->getDeferredCount(), 0);
  ASSERT_TRUE(serviceUntil(pair.peer, [&] { return !replies.texts.empty(); }));
  EXPECT_NE(replies.texts[0].find("response_str:\"yes\""), std::string::npos) << replies.texts[0];
  gen_free(user);
  gen_free(error);
  client->delRef();
}

}  // namespace
