// The transport over real loopback sockets and over a loopback pair: frames
// split across reads or packed into one, replies, requests that arrive
// during a wait, bad peers (each ends the connection with its status, and a
// fresh connection works after it), a peer that stops reading, the retry
// handlers' limits, and traffic served through the idle notifier.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "gui/loop/idle_notifier.h"
#include "libs/stp_transport/command_system.h"
#include "libs/stp_transport/socket_listener.h"
#include "libs/stp_transport/stp_ascii_imsg.h"
#include "libs/stp_transport/stp_ascii_omsg.h"
#include "libs/stp_transport/stp_retry.h"
#include "libs/stp_transport/transport.h"

namespace {

constexpr uint32_t kUs = 1, kPeer = 2;  // routing numbers: ours and the peer's
constexpr long kPatienceMs = 5000;      // the bound of every wait for an event
constexpr long kClockSlackMs = 2;       // the handlers count whole milliseconds

using Clock = std::chrono::steady_clock;
long msSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The bytes of an encoded message from the peer to us, padded as on the wire.
std::string frame(uint32_t kind, uint32_t sequence, uint32_t replyTo = 0, uint32_t flags = 0,
                  uint32_t tokenOrigin = 0, uint32_t tokenDepth = 1) {
  STPAsciiOMsg m(kPeer, kUs, kind, 7, replyTo, flags, tokenOrigin, tokenDepth);
  m.putString("body");
  m.finishMessage(sequence);
  uint32_t header = 0, body = 0;
  const uint8_t* bytes = m.getContent(&header, &body);
  std::string s(reinterpret_cast<const char*>(bytes), header + body);
  s.resize((s.size() + 3) / 4 * 4, '\0');
  return s;
}

std::string words(std::initializer_list<uint32_t> values) {
  std::string s;
  for (uint32_t v : values)
    for (int i = 0; i < 4; i++) s += static_cast<char>(v >> (8 * i));
  return s;
}

bool serviceUntil(STPTransport* t, const std::function<bool()>& done) {
  auto start = Clock::now();
  while (!done() && msSince(start) < kPatienceMs) t->serviceOnce(20, nullptr);
  return done();
}

// Like an interface endpoint, it declines what the delivery rule refuses;
// it notes whether a wait was under way when it took a message.
struct Recorder : ResponseListener {
  STPTransport* t = nullptr;
  std::vector<uint32_t> seen;
  std::vector<bool> duringWait;
  bool handleResponse(STPIMsg* m, bool) override {
    if (!t->shouldDeliverMessage(m)) return false;
    seen.push_back(m->header().sequence);
    duringWait.push_back(STPTransport::messageDepth() > 0);
    return true;
  }
};

// Our transport `t` and, at the other end, a raw peer that writes bytes.
struct Link {
  STPTransport* t = nullptr;
  virtual ~Link() {
    if (t) t->delRef();
  }
  virtual void send(const std::string& bytes) = 0;
  virtual void close() = 0;
};

struct SocketLink : Link {
  int peer = -1;
  SocketLink() {
    int port = 0, listener = STPTransport::getListenSocket(&port);
    t = new STPTransport;
    EXPECT_TRUE(t->connect("127.0.0.1", port, nullptr));
    peer = accept(listener, nullptr, nullptr);  // queued once connect returned
    EXPECT_GE(peer, 0);
    ::close(listener);
  }
  ~SocketLink() override { close(); }
  void send(const std::string& bytes) override {
    EXPECT_EQ(write(peer, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void close() override {
    if (peer >= 0) ::close(peer);
    peer = -1;
  }
};

struct LoopbackLink : Link {
  STPTransport* partner = nullptr;
  LoopbackLink() { STPTransport::createLoopbackPair(&t, &partner); }
  ~LoopbackLink() override { close(); }
  void send(const std::string& bytes) override {
    partner->enqueueRaw(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  void close() override {
    if (partner) partner->delRef();
    partner = nullptr;
  }
};

class TransportTest : public testing::TestWithParam<bool> {
 protected:
  std::unique_ptr<Link> newLink() {
    std::unique_ptr<Link> l;
    if (GetParam()) l = std::make_unique<SocketLink>();
    else l = std::make_unique<LoopbackLink>();
    l->t->registerMessageListener(kPeer, kUs, &rec, STP_KIND_ASCII);
    return l;
  }
  void SetUp() override {
    link = newLink();
    rec.t = t = link->t;
  }
  // A call from us that wants a reply; its sequence.
  uint32_t call(uint32_t flags) {
    std::unique_ptr<STPAsciiOMsg> m(t->createAsciiMessage(kUs, kPeer, STP_KIND_ASCII, 1, flags));
    return t->sendMessage(m.get(), nullptr, &status);
  }
  Recorder rec;
  std::unique_ptr<Link> link;
  STPTransport* t = nullptr;
  TStat status;
};

INSTANTIATE_TEST_SUITE_P(Links, TransportTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Socket" : "Loopback"; });

TEST_P(TransportTest, AFrameInTwoReadsIsDeliveredOnceComplete) {
  std::string f = frame(STP_KIND_ASCII, 5);
  link->send(f.substr(0, 30));
  ASSERT_TRUE(serviceUntil(t, [&] { return t->pendingReadBytes() == 30; }));
  EXPECT_TRUE(rec.seen.empty());
  link->send(f.substr(30));
  ASSERT_TRUE(serviceUntil(t, [&] { return !rec.seen.empty(); }));
  EXPECT_EQ(rec.seen, std::vector<uint32_t>{5});
}

TEST_P(TransportTest, TwoFramesInOneReadAreDeliveredInOrder) {
  link->send(frame(STP_KIND_ASCII, 5) + frame(STP_KIND_ASCII, 6));
  ASSERT_TRUE(serviceUntil(t, [&] { return rec.seen.size() == 2; }));
  EXPECT_EQ(rec.seen, (std::vector<uint32_t>{5, 6}));
}

TEST_P(TransportTest, AReplyBeforeTheWaitIsFoundAmongTheResponses) {
  uint32_t sequence = call(STP_FLAG_WANTS_REPLY);
  link->send(frame(STP_REPLY_KIND, 9, sequence));
  ASSERT_TRUE(serviceUntil(t, [&] { return t->responseCount() == 1; }));
  std::unique_ptr<STPIMsg> reply(t->awaitResponse(sequence, nullptr, &status));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->header().sequence, 9u);
  EXPECT_EQ(STPTransport::messageDepth(), 0);
}

TEST_P(TransportTest, RequestsDuringAWaitAreDeferredUnlessTheRuleAdmitsThem) {
  struct Case {
    const char* name;
    uint32_t callFlags, requestFlags;
    bool sameTransaction;
    int deeper;  // the request's depth beyond ours
    bool duringWait;
  };
  const Case cases[] = {
      {"plain", STP_FLAG_WANTS_REPLY, 0, false, 1, true},
      {"plain, strict wait", STP_FLAG_WANTS_REPLY | STP_FLAG_STRICT, 0, false, 1, false},
      {"bound, other transaction", STP_FLAG_WANTS_REPLY, STP_FLAG_TRANSACTION, false, 1, false},
      {"bound, same depth", STP_FLAG_WANTS_REPLY, STP_FLAG_TRANSACTION, true, 0, false},
      {"bound, deeper", STP_FLAG_WANTS_REPLY, STP_FLAG_TRANSACTION, true, 1, true},
      {"safe, strict wait", STP_FLAG_WANTS_REPLY | STP_FLAG_STRICT, STP_FLAG_SAFE, false, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rec.seen.clear();
    rec.duringWait.clear();
    uint32_t sequence = call(c.callFlags);
    uint32_t origin = t->currentTokenOrigin() ^ (c.sameTransaction ? 0 : 0x10000);
    link->send(frame(STP_KIND_ASCII, 100, 0, c.requestFlags, origin,
                     t->currentTokenDepth() + c.deeper) +
               frame(STP_REPLY_KIND, 101, sequence));
    TimeoutSTPRetryHandler handler(t, kPatienceMs);
    std::unique_ptr<STPIMsg> reply(t->awaitResponse(sequence, &handler, &status));
    ASSERT_TRUE(reply);
    ASSERT_TRUE(serviceUntil(t, [&] { return rec.seen.size() == 1; }));
    EXPECT_EQ(rec.duringWait[0], c.duringWait);
  }
}

TEST_P(TransportTest, BadPeersEndTheConnectionWithTheirStatus) {
  const std::string invalid = "[handleRead]: remote host sent invalid packet";
  const std::string closed = "[handleRead]: peer has closed connection";
  struct Case {
    const char* name;
    std::string bytes;
    bool thenClose;
    int code;
    const std::string& message;
  };
  const Case cases[] = {
      {"closes mid-message", frame(STP_KIND_ASCII, 5).substr(0, 20), true, 5, closed},
      {"truncated frame", words({44, 100}) + std::string(46, 'x'), true, 5, closed},
      {"header length 28", words({28, 0}), false, 1, invalid},
      {"header length 132", words({132, 0}), false, 1, invalid},
      {"header length 46", words({46, 0}), false, 1, invalid},
      {"2 GB body", words({44, 2000000000}) + std::string(36, '\0'), false, 1, invalid},
      {"negative body length", words({44, 0x80000000}), false, 1, invalid},
      {"garbage", "GET / HTTP/1.0\r\n\r\n", false, 1, invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<Link> bad = newLink();
    bad->send(c.bytes);
    if (c.thenClose) bad->close();
    ASSERT_TRUE(serviceUntil(bad->t, [&] { return bad->t->isDead(); }));
    EXPECT_EQ(bad->t->getStatus().getCode(), c.code);
    EXPECT_EQ(bad->t->getStatus().getMessage(), c.message);
    EXPECT_EQ(bad->t->pendingReadBytes(), 0u);
  }
  link->send(frame(STP_KIND_ASCII, 5));
  EXPECT_TRUE(serviceUntil(t, [&] { return rec.seen.size() == 1; }));
}

TEST_P(TransportTest, AWaitEndsAtTheHandlersTimeoutOrWhenThePeerCloses) {
  uint32_t sequence = call(STP_FLAG_WANTS_REPLY);
  TimeoutSTPRetryHandler brief(t, 200);
  auto start = Clock::now();
  EXPECT_EQ(t->awaitResponse(sequence, &brief, &status), nullptr);
  EXPECT_GE(msSince(start), 200 - kClockSlackMs);
  EXPECT_LT(msSince(start), 2000);
  EXPECT_EQ(status.getMessage(),
            "[awaitResponse]: reached timeout while waiting to receive response");

  sequence = call(STP_FLAG_WANTS_REPLY);
  link->close();
  STPRetryHandler patient(t);
  EXPECT_EQ(t->awaitResponse(sequence, &patient, &status), nullptr);
  EXPECT_EQ(status.getCode(), TSTAT_PEER_CLOSED);
  EXPECT_FALSE(patient.retryOp());  // the transport is gone
  EXPECT_EQ(STPTransport::messageDepth(), 0);
}

TEST_P(TransportTest, ASyncWaitEndsWithThePeersSyncPointOrTimesOut) {
  link->send(frame(STP_KIND_SYNC, 5));
  TimeoutSTPRetryHandler handler(t, 200);
  EXPECT_TRUE(t->awaitSync(kUs, kPeer, &handler, &status));
  EXPECT_FALSE(t->awaitSync(kUs, kPeer, &handler, &status));
  EXPECT_EQ(status.getMessage(),
            "[awaitSync]: reached timeout while waiting to receive sync packet");
}

TEST_P(TransportTest, AMessageForNobodyWaitsUntilItsListenerRegisters) {
  link->send(frame(STP_KIND_BINARY, 5));
  ASSERT_TRUE(serviceUntil(t, [&] { return t->unclaimedCount() == 1; }));
  t->registerMessageListener(kPeer, kUs, &rec, STP_KIND_BINARY);
  t->dequeueAndDeliverMessage(kPeer, kUs, STP_KIND_BINARY);
  EXPECT_EQ(rec.seen, std::vector<uint32_t>{5});
  EXPECT_EQ(t->unclaimedCount(), 0u);
}

TEST(TransportSocket, APeerThatStopsReadingLeavesTheDataQueuedAndTheSendTimesOut) {
  SocketLink link;
  std::unique_ptr<STPAsciiOMsg> m(
      link.t->createAsciiMessage(kUs, kPeer, STP_KIND_ASCII, 1, STP_FLAG_ONE_WAY));
  m->putRawString(std::string(50 << 20, 'x').c_str());
  TimeoutSTPRetryHandler handler(link.t, 300);
  TStat status;
  auto start = Clock::now();
  EXPECT_EQ(link.t->sendMessage(m.get(), &handler, &status), 0u);
  EXPECT_LT(msSince(start), 3000);
  EXPECT_EQ(status.getMessage(), "[sendMessage]: reached timeout while waiting to send message");
  EXPECT_GT(link.t->pendingWriteBytes(), 0u);

  uint32_t header = 0, body = 0;
  m->getContent(&header, &body);
  size_t expected = (header + body + 3) / 4 * 4, received = 0;
  std::vector<char> chunk(1 << 20);
  serviceUntil(link.t, [&] {
    ssize_t n;
    while ((n = recv(link.peer, chunk.data(), chunk.size(), MSG_DONTWAIT)) > 0) received += n;
    return received == expected;
  });
  EXPECT_EQ(received, expected);
  EXPECT_EQ(link.t->pendingWriteBytes(), 0u);
}

TEST(TransportDeathTest, ANegativeMessageDepthIsFatal) {
  EXPECT_EXIT(STPTransport::leaveMessageDepth(), testing::ExitedWithCode(1),
              "negative message depth!");
}

TEST(RetryHandlers, WithoutTransportTheHandlerSleepsUntilItsTimeout) {
  TimeoutSTPRetryHandler handler(nullptr, 120);
  auto start = Clock::now();
  handler.beginOp();
  int idles = 0;
  for (; handler.retryOp(); idles++) handler.idle();
  EXPECT_GE(msSince(start), 120 - kClockSlackMs);
  EXPECT_GE(idles, 2);  // 50 ms apart
  EXPECT_LE(idles, 4);
}

// Answers every call: a command with "__res:0x1 done", anything else with
// an empty reply.
struct Answerer : ResponseListener {
  STPTransport* t;
  explicit Answerer(STPTransport* t) : t(t) {}
  bool handleResponse(STPIMsg* m, bool) override {
    std::unique_ptr<STPAsciiOMsg> reply(t->createAsciiReply(kPeer, kUs, m->header().sequence, 0));
    if (m->header().kind == STP_KIND_COMMAND) {
      reply->putNumber("__res", 1);
      reply->putRawString("done");
    }
    return t->enqueueAndTryMessage(reply.get(), 2, nullptr);
  }
};

// Pumps an idle notifier, as the GUI-aware handlers do.
struct NotifierHandler : RetryHandler {
  IdleNotifier* notifier;
  explicit NotifierHandler(IdleNotifier* n) : RetryHandler(-1), notifier(n) {}
  void idle() override { notifier->notifySocketActivity(50, true); }
};

TEST(TransportSocket, CallsAndCommandsAreServedThroughTheIdleNotifier) {
  SocketLink link;  // the peer's socket becomes the answering transport
  auto* server = new STPTransport;
  server->bindFD(link.peer);
  link.peer = -1;
  Answerer answerer(server);
  server->registerMessageListener(kUs, kPeer, &answerer, STP_KIND_ASCII);
  server->registerMessageListener(kUs, kPeer, &answerer, STP_KIND_COMMAND);
  IdleNotifier notifier;
  STPSocketListener ours(link.t, &notifier), theirs(server, &notifier);
  server->delRef();  // the listener keeps it
  NotifierHandler handler(&notifier);
  TStat status;

  constexpr int kCalls = 2000;
  auto start = Clock::now();
  for (int i = 0; i < kCalls; i++) {
    std::unique_ptr<STPAsciiOMsg> m(
        link.t->createAsciiMessage(kUs, kPeer, STP_KIND_ASCII, 1, STP_FLAG_WANTS_REPLY));
    uint32_t sequence = link.t->sendMessage(m.get(), &handler, &status);
    ASSERT_TRUE(std::unique_ptr<STPIMsg>(link.t->awaitResponse(sequence, &handler, &status)));
  }
  std::cout << "round trip over loopback: "
            << std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kCalls
            << " us\n";

  bool result = false;
  char* text = nullptr;
  ASSERT_TRUE(stp_sendCommandMessage(link.t, kUs, kPeer, "Save", STP_COMMAND_EXECUTE, &result,
                                     &text, &handler, &status));
  EXPECT_TRUE(result);
  EXPECT_STREQ(text, "done");
  free(text);
}

TEST(TransportLoopback, ChannelsAreCreatedStartedAndClosedByEitherSide) {
  STPTransport *a, *b;
  STPTransport::createLoopbackPair(&a, &b);
  STPChannel* ours = a->createChannel(kUs, kPeer);
  ours->enqueueChannelCreate(nullptr);
  EXPECT_EQ(STPTransport::serviceFirst(0, {a, b}), 1);  // b has something to read
  STPChannel* theirs = b->createChannel(kPeer, kUs);
  EXPECT_TRUE(theirs->isChannelCreated());
  theirs->startChannel(nullptr);
  a->serviceOnce(0, nullptr);
  EXPECT_TRUE(ours->isChannelStarted());
  ours->closeChannel(nullptr);
  b->serviceOnce(0, nullptr);
  EXPECT_TRUE(theirs->isChannelClosed());
  a->delRef();
  b->delRef();
}

struct ForwardTo : STPForwardingHandler {
  STPTransport* target;
  explicit ForwardTo(STPTransport* t) : target(t) {}
  STPTransport* forwardTarget(uint32_t destinationRN) override {
    return destinationRN == kUs ? target : nullptr;
  }
};

TEST(TransportLoopback, AFrameForAnotherEndpointIsForwardedUnread) {
  STPTransport *a, *b, *c, *d;
  STPTransport::createLoopbackPair(&a, &b);
  STPTransport::createLoopbackPair(&c, &d);
  ForwardTo forward(c);
  b->setForwardingHandler(&forward);
  Recorder rec;
  rec.t = d;
  d->registerMessageListener(kPeer, kUs, &rec, STP_KIND_ASCII);
  std::string f = frame(STP_KIND_ASCII, 5);
  a->enqueueRaw(reinterpret_cast<const uint8_t*>(f.data()), f.size());
  b->serviceOnce(0, nullptr);
  EXPECT_EQ(d->pendingReadBytes(), f.size());
  d->serviceOnce(0, nullptr);
  EXPECT_EQ(rec.seen, std::vector<uint32_t>{5});
  for (STPTransport* t : {a, b, c, d}) t->delRef();
}

}  // namespace
