// Who is at the other end of a loopback TCP connection.  The router and
// the tools talk over loopback TCP, which every local user can reach, so
// each side serves a connection only when the peer's socket belongs to its
// own user.  The owner is looked up through the kernel's socket
// diagnostics (netlink), or /proc/net/tcp and tcp6 where that is missing.
#pragma once

#include <sys/types.h>

// The uid owning the socket at the other end of the connected TCP socket
// fd (which must be a loopback connection: the peer is on this host).
// False when it cannot be found (not TCP, not local, or already gone).
bool stp_socket_peer_uid(int fd, uid_t* uid);

// The same, read from /proc/net/tcp{,6} only: the way used when the
// socket diagnostics are not there.
bool stp_socket_peer_uid_proc(int fd, uid_t* uid);

// True when the peer of fd is a socket of this process's effective user.
// Anything that cannot be proven counts as a stranger.
bool stp_peer_is_own_user(int fd);
