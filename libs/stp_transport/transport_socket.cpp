// The transport's connections: connecting, listening and accepting over
// IPv4 TCP, adopting descriptors, closing, and loopback pairs.  Every
// socket is non-blocking and close-on-exec, with address reuse and no
// delay; listening sockets take the loopback address only.
#include "libs/stp_transport/transport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "libs/libcxxutil/retry_handler.h"

namespace {

constexpr int kBacklog = 5;
constexpr long kServiceMs = 10000;

void setSocketOptions(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
  int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

std::string addressText(const sockaddr_in& a) {
  char ip[INET_ADDRSTRLEN] = "";
  inet_ntop(AF_INET, &a.sin_addr, ip, sizeof ip);
  return std::string(ip) + ":" + std::to_string(ntohs(a.sin_port));
}

// A dotted address, else the first IPv4 address of the name.
bool resolve(const char* host, int port, sockaddr_in* out) {
  *out = {};
  out->sin_family = AF_INET;
  out->sin_port = htons(static_cast<uint16_t>(port));
  if (!host || !*host) return false;
  if (inet_aton(host, &out->sin_addr)) return true;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return false;
  out->sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

// A blocking connect; an interrupted one is finished by waiting for the
// socket to become writable.
bool connectSocket(int fd, const sockaddr_in& to) {
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
  if (errno != EINTR) return false;
  pollfd p = {fd, POLLOUT, 0};
  while (poll(&p, 1, -1) < 0)
    if (errno != EINTR) return false;
  int err = 0;
  socklen_t len = sizeof err;
  return getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
}

}  // namespace

int STPTransport::getListenSocket(int* port, std::string* error) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  sockaddr_in at = {};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  at.sin_port = htons(static_cast<uint16_t>(*port));
  if (fd >= 0) setSocketOptions(fd);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
    if (error) *error = "[getListenSocket]: Could not bind to port";
    if (fd >= 0) close(fd);
    return -1;
  }
  socklen_t len = sizeof at;
  if (::listen(fd, kBacklog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len) != 0) {
    if (error) *error = "[getListenSocket]: Could not listen on socket";
    close(fd);
    return -1;
  }
  *port = ntohs(at.sin_port);
  return fd;
}

bool STPTransport::connect(const char* host, int port, TStat* status) {
  if (isConnected()) return finish(fail(TSTAT_USAGE, "[connect]: Already connected"), status);
  if (isListening())
    return finish(fail(TSTAT_USAGE, "[connect]: Already listening as server"), status);
  sockaddr_in to;
  if (!resolve(host, port, &to))
    return finish(fail(TSTAT_CONNECTION, "[connectToServer]: Unable to resolve host"), status);
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || !connectSocket(fd, to)) {
    if (fd >= 0) close(fd);
    return finish(fail(TSTAT_CONNECTION, "[connectToServer]: connect failed"), status);
  }
  bindFD(fd);
  return finish(true, status);
}

bool STPTransport::listen(int port, RetryHandler* handler, TStat* status) {
  if (isConnected()) return finish(fail(TSTAT_USAGE, "[listen]: Already connected"), status);
  if (isListening())
    return finish(fail(TSTAT_USAGE, "[listen]: Already listening as server"), status);
  std::string error;
  int fd = getListenSocket(&port, &error);
  if (fd < 0) return finish(fail(TSTAT_CONNECTION, error.c_str()), status);
  startListenOnFD(fd, nullptr);
  Hold hold(this);
  bool accepted = waitUntil(handler, kServiceMs, [this] { return tryAccept(true, nullptr); });
  if (!accepted && status_.ok()) {
    closeConnection();
    fail(TSTAT_TIMEOUT, "[listenOnFD]: timed out waiting for client");
  }
  return finish(accepted, status);
}

bool STPTransport::startListenOnFD(int fd, TStat* status) {
  if (isConnected()) return finish(fail(TSTAT_USAGE, "[startListenOnFD]: Already connected"), status);
  if (isListening())
    return finish(fail(TSTAT_USAGE, "[startListenOnFD]: Already listening as server"), status);
  listenFd_ = fd;
  dead_ = acceptPending_ = false;
  status_.clear();
  return finish(true, status);
}

bool STPTransport::tryAccept(bool closeListener, TStat* status) {
  if (isConnected()) return finish(fail(TSTAT_USAGE, "[tryAccept]: Already connected"), status);
  if (!isListening()) return finish(fail(TSTAT_USAGE, "[tryAccept]: Not listening as server"), status);
  acceptPending_ = false;
  int fd;
  do fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return finish(false, status);  // nobody yet: not an error
  if (closeListener) {
    close(listenFd_);
    listenFd_ = -1;
  }
  bindFD(fd);
  return finish(true, status);
}

void STPTransport::bindFD(int fd) {
  setSocketOptions(fd);
  fd_ = fd;
  dead_ = false;
  status_.clear();
  sockaddr_in a = {};
  socklen_t len = sizeof a;
  peerAddress_ = getpeername(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0 ? addressText(a) : "";
  len = sizeof a;
  localAddress_ = getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0 ? addressText(a) : "";
}

void STPTransport::unbindFD() {
  fd_ = -1;
  peerAddress_.clear();
  localAddress_.clear();
}

void STPTransport::closeConnection() {
  if (fd_ >= 0) {
    if (!plainClose_ && shutdown(fd_, SHUT_RDWR) != 0 && errno != ENOTCONN)
      fprintf(stderr, "shutdown of socket %d failed with error: %d\n", fd_, errno);
    if (close(fd_) != 0) fprintf(stderr, "close of socket %d failed with error: %d\n", fd_, errno);
  }
  if (listenFd_ >= 0) close(listenFd_);
  listenFd_ = -1;
  if (peer_) {
    peer_->peer_ = nullptr;
    peer_->loopbackEof_ = true;
    peer_ = nullptr;
  }
  unbindFD();
  dead_ = true;
  acceptPending_ = needMore_ = false;
  Buffer().swap(write_);
  Buffer().swap(read_);
  writeStart_ = writeLength_ = readStart_ = readLength_ = 0;
}

void STPTransport::createLoopbackPair(STPTransport** a, STPTransport** b) {
  *a = new STPTransport;
  *b = new STPTransport;
  (*a)->peer_ = *b;
  (*b)->peer_ = *a;
  (*a)->loopback_ = (*b)->loopback_ = true;
}

bool STPTransport::listenAndService(int port, TStat* status) {
  Hold hold(this);
  if (!listen(port, nullptr, status)) return false;
  while (serviceOnce(kServiceMs, nullptr) && isAlive()) {
  }
  return finish(status_.ok(), status);
}

bool STPTransport::bindAndService(int fd, TStat* status) {
  Hold hold(this);
  bindFD(fd);
  while (serviceOnce(kServiceMs, nullptr) && isAlive()) {
  }
  return finish(status_.ok(), status);
}
