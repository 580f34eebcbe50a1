// The service loop of a tool with windows: each pass serves the X events,
// the wait list and the sockets, then sleeps until the next thing is due.
// Without a display it serves idle work, timers and sockets only.
#pragma once

#include "services/svc_event_loop.h"

class Windlib_EventLoop : public Svc_EventLoop {
 public:
  void loopAction() override;
};
