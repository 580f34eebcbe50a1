// Waits with the windows alive, on the program's Xvfb: a wait that outlasts
// its timeout asks "<text>, Terminate Connection?"; "Continue" waits a whole
// timeout more, "Terminate" ends it; a dead transport ends it unasked.
#include "widget_util.h"  // gtest before Xlib

#include <chrono>

#include "gui/widgets/button.h"
#include "libs/stp_transport/transport.h"
#include "services/windlib/windlib.h"

namespace {

bool answer(int index) {
  WDialog* d = shownDialog();
  WButton* b = d ? d->button(index) : nullptr;
  return b && xtest::xdotool({"mousemove", "--window", std::to_string(b->getWindow()), "5", "5",
                              "click", "1"}) == 0;
}

// The question of the dialogue that is up, once it is painted, unless it
// is the window `seen` (already answered; its click not yet handled).
bool readQuestion(std::string* title, std::vector<std::string>* lines, unsigned long* seen) {
  WDialog* d = shownDialog();
  if (!d || d->window()->getWindow() == *seen) return false;
  *seen = d->window()->getWindow();
  for (WWindowedItem* c : d->window()->getChildren())
    if (auto* t = dynamic_cast<WDialogText*>(c)) *lines = t->lines();
  *title = xtest::title(d->window()->getWindow());
  return !lines->empty();
}

// Waits the way every service call does; how long it took.
template <class Handler>
long wait(Handler* h, bool* gaveUp) {
  auto start = std::chrono::steady_clock::now();
  h->beginOp();
  while (h->retryOp()) h->idle();
  *gaveUp = true;
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count());
}

using WindLibWait = GuiSession;

TEST_F(WindLibWait, TheQuestionComesAfterTheTimeoutAndBothAnswersDoWhatTheySay) {
  openWindow("main");
  std::string title, title2;
  std::vector<std::string> lines;
  int asked = 0;
  unsigned long seen = 0;
  Script script({[&] { return readQuestion(&title, &lines, &seen) && ++asked; },
                 [] { return answer(0); },  // Continue
                 [&] { return readQuestion(&title2, &lines, &seen) && ++asked; },
                 [] { return answer(1); }});  // Terminate
  WindLibRetryHandler h(300, "Waiting for the version control service");
  bool ended = false;
  long ms = wait(&h, &ended);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(title, "Terminate Connection");
  EXPECT_EQ(title2, "Terminate Connection");
  EXPECT_EQ(lines, std::vector<std::string>{
                       "Waiting for the version control service, Terminate Connection?"});
  EXPECT_GE(ms, 600);  // two whole timeouts: Continue restarted it
  EXPECT_FALSE(WDialog::current());
}

TEST_F(WindLibWait, AGoneTransportOrTimeToDieEndsTheWaitUnasked) {
  openWindow("main");
  STPTransport *a = nullptr, *b = nullptr;
  STPTransport::createLoopbackPair(&a, &b);
  a->closeConnection();
  STPWindLibRetryHandler h(a, 5000, "Waiting");
  bool ended = false;
  EXPECT_LT(wait(&h, &ended), 1000);
  EXPECT_TRUE(ended);
  STPWindLibRetryHandler none(nullptr, 5000);
  EXPECT_LT(wait(&none, &ended), 1000);

  RetryHandler::setMaxRunTime(100);
  WindLibRetryHandler late(60000, "Waiting");
  long ms = wait(&late, &ended);
  RetryHandler::setMaxRunTime(-1);
  EXPECT_GE(ms, 90);
  EXPECT_LT(ms, 2000);
  EXPECT_FALSE(WDialog::current());
  a->delRef();
  b->delRef();
}

}  // namespace
