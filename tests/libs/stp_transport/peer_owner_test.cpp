// The owner of a loopback peer, found both ways, for our own user and, when
// the test runs as root, for a child that has become "nobody".
#include "libs/stp_transport/peer_owner.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "libs/stp_transport/transport.h"

namespace {

int connectTo(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// The listener is non-blocking: wait for the connection first.
int acceptWait(int listener) {
  pollfd p{listener, POLLIN, 0};
  if (poll(&p, 1, 5000) != 1) return -1;
  return accept(listener, nullptr, nullptr);
}

TEST(PeerOwner, OwnUserBothWays) {
  int port = 0;
  int listener = STPTransport::getListenSocket(&port);
  ASSERT_GE(listener, 0);
  int client = connectTo(port);
  ASSERT_GE(client, 0);
  int served = acceptWait(listener);
  ASSERT_GE(served, 0);
  for (int fd : {served, client}) {
    uid_t a = 12345, b = 12345;
    EXPECT_TRUE(stp_socket_peer_uid(fd, &a));
    EXPECT_TRUE(stp_socket_peer_uid_proc(fd, &b));
    EXPECT_EQ(a, geteuid());
    EXPECT_EQ(b, geteuid());
    EXPECT_TRUE(stp_peer_is_own_user(fd));
  }
  close(client);
  close(served);
  // Not a socket at all: unknown, hence a stranger.
  EXPECT_FALSE(stp_peer_is_own_user(listener));
  close(listener);
}

TEST(PeerOwner, AnotherUserIsAStranger) {
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() != 0 || !nobody) GTEST_SKIP() << "needs root to become nobody";
  int port = 0;
  int listener = STPTransport::getListenSocket(&port);
  ASSERT_GE(listener, 0);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(3);
    int fd = connectTo(port);
    char c = 0;
    (void)!read(ready[0], &c, 1);  // stays connected until the parent looked
    _exit(fd >= 0 ? 0 : 4);
  }
  int served = acceptWait(listener);
  ASSERT_GE(served, 0);
  uid_t a = 0, b = 0;
  EXPECT_TRUE(stp_socket_peer_uid(served, &a));
  EXPECT_TRUE(stp_socket_peer_uid_proc(served, &b));
  EXPECT_EQ(a, nobody->pw_uid);
  EXPECT_EQ(b, nobody->pw_uid);
  EXPECT_FALSE(stp_peer_is_own_user(served));
  (void)!write(ready[1], "x", 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  close(served);
  close(listener);
}

}  // namespace
