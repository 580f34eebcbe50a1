// The owner of a loopback peer's socket: asked of the kernel's socket
// diagnostics by the exact four-tuple seen from the peer's side, or read
// from /proc/net/tcp{,6} when netlink is not available.
#include "libs/stp_transport/peer_owner.h"

#include <arpa/inet.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Both ends of fd, named as the peer sees them: its local is our remote.
struct Ends {
  sockaddr_storage peer{};  // the peer socket's own address
  sockaddr_storage ours{};  // where the peer socket is connected to
};

bool getEnds(int fd, Ends* e) {
  socklen_t n = sizeof e->peer;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&e->peer), &n) != 0) return false;
  n = sizeof e->ours;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&e->ours), &n) != 0) return false;
  return e->peer.ss_family == e->ours.ss_family &&
         (e->peer.ss_family == AF_INET || e->peer.ss_family == AF_INET6);
}

// Copies an address and port into the diagnostics id's fields.
void putAddress(const sockaddr_storage& a, __be16* port, __be32 addr[4]) {
  if (a.ss_family == AF_INET) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(&a);
    *port = in->sin_port;
    std::memcpy(addr, &in->sin_addr, 4);
  } else {
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&a);
    *port = in6->sin6_port;
    std::memcpy(addr, &in6->sin6_addr, 16);
  }
}

bool uidByNetlink(const Ends& e, uid_t* uid) {
  int nl = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
  if (nl < 0) return false;
  struct {
    nlmsghdr nlh;
    inet_diag_req_v2 req;
  } q{};
  q.nlh.nlmsg_len = sizeof q;
  q.nlh.nlmsg_type = SOCK_DIAG_BY_FAMILY;
  q.nlh.nlmsg_flags = NLM_F_REQUEST;
  q.req.sdiag_family = static_cast<__u8>(e.peer.ss_family);
  q.req.sdiag_protocol = IPPROTO_TCP;
  q.req.idiag_states = ~0u;
  putAddress(e.peer, &q.req.id.idiag_sport, q.req.id.idiag_src);
  putAddress(e.ours, &q.req.id.idiag_dport, q.req.id.idiag_dst);
  q.req.id.idiag_cookie[0] = q.req.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  bool found = false;
  if (sendto(nl, &q, sizeof q, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) ==
      static_cast<ssize_t>(sizeof q)) {
    alignas(nlmsghdr) char buf[8192];
    ssize_t n = recv(nl, buf, sizeof buf, 0);
    auto* h = reinterpret_cast<nlmsghdr*>(buf);
    if (n > 0 && NLMSG_OK(h, static_cast<size_t>(n)) && h->nlmsg_type == SOCK_DIAG_BY_FAMILY &&
        h->nlmsg_len >= NLMSG_LENGTH(sizeof(inet_diag_msg))) {
      *uid = static_cast<const inet_diag_msg*>(NLMSG_DATA(h))->idiag_uid;
      found = true;
    }
  }
  close(nl);
  return found;
}

// One "ADDR:PORT" field of /proc/net/tcp{,6}: the address as the kernel's
// 32-bit words in hexadecimal, the port in host order.
bool parseProcAddress(const char* text, int words, uint32_t addr[4], unsigned* port) {
  for (int i = 0; i < words; i++) {
    unsigned w;
    if (std::sscanf(text + 8 * i, "%8x", &w) != 1) return false;
    addr[i] = w;
  }
  return text[8 * words] == ':' && std::sscanf(text + 8 * words + 1, "%x", port) == 1;
}

bool sameEnd(const sockaddr_storage& a, const uint32_t addr[4], unsigned port) {
  __be16 p;
  __be32 want[4] = {};
  putAddress(a, &p, want);
  int words = a.ss_family == AF_INET ? 1 : 4;
  return ntohs(p) == port && std::memcmp(want, addr, 4 * words) == 0;
}

}  // namespace

static bool uidByProc(const Ends& e, uid_t* uid) {
  bool v4 = e.peer.ss_family == AF_INET;
  FILE* f = std::fopen(v4 ? "/proc/net/tcp" : "/proc/net/tcp6", "re");
  if (!f) return false;
  int words = v4 ? 1 : 4;
  char line[512], local[64], remote[64];
  bool found = false;
  unsigned long owner;
  while (!found && std::fgets(line, sizeof line, f)) {
    if (std::sscanf(line, " %*s %63s %63s %*s %*s %*s %*s %lu", local, remote, &owner) != 3) continue;
    uint32_t la[4], ra[4];
    unsigned lp, rp;
    if (!parseProcAddress(local, words, la, &lp) || !parseProcAddress(remote, words, ra, &rp)) continue;
    if (sameEnd(e.peer, la, lp) && sameEnd(e.ours, ra, rp)) {
      *uid = static_cast<uid_t>(owner);
      found = true;
    }
  }
  std::fclose(f);
  return found;
}

bool stp_socket_peer_uid_proc(int fd, uid_t* uid) {
  Ends e;
  return getEnds(fd, &e) && uidByProc(e, uid);
}

bool stp_socket_peer_uid(int fd, uid_t* uid) {
  Ends e;
  if (!getEnds(fd, &e)) return false;
  return uidByNetlink(e, uid) || uidByProc(e, uid);
}

bool stp_peer_is_own_user(int fd) {
  uid_t uid;
  return stp_socket_peer_uid(fd, &uid) && uid == geteuid();
}
