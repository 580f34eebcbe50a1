// The wait list: work the main loop does between waits.  Time-outs run when
// their deadline passes, child entries finish when their process is reaped,
// poll entries run on every pass (and keep the loop from sleeping), dormant
// entries wait to be changed.  ExtraProcess_Wait serves the list and says how
// long the loop may sleep.
#pragma once

#include <memory>
#include <sys/types.h>

enum ExtraProcessKind {
  EP_TIMEOUT = 0,  // value: milliseconds from now
  EP_CHILD = 1,    // value: the child's process id
  EP_POLL = 2,
  EP_DORMANT = 3,
};

// Run: non-zero when the entry is finished.  Finish: gets the child's exit
// status (0 for other kinds); non-zero (or no finish callback) removes the
// entry.
using ExtraProcessRunFn = int (*)(void* data, int index);
using ExtraProcessFinishFn = int (*)(void* data, int status);

struct ExtraProcessEntry;
// Becomes empty (expired) when the entry is removed.
using ExtraProcessHandle = std::weak_ptr<ExtraProcessEntry>;

// Appends an entry; the handle is empty for an unknown kind.
ExtraProcessHandle ExtraProcess_Create(int kind, long value, ExtraProcessRunFn run,
                                       ExtraProcessFinishFn finish, void* data);
// Calls the finish callback with `status` (-1 in `status` means none: 1)
// and removes the entry when it answers non-zero.  0 for a removed entry.
int ExtraProcess_Kill(const ExtraProcessHandle& handle, int status = -1);
// A new deadline `ms` from now; 0 for a removed entry.
int ExtraProcess_SetTimeout(const ExtraProcessHandle& handle, long ms);
// True when a time-out entry with a run callback is past its deadline.
bool ExtraProcess_AnyTimedOut();
int ExtraProcess_NumberPending();
pid_t ExtraProcess_GetPid(const ExtraProcessHandle& handle);  // 0 when none

// Reaps one finished child, runs the due entries and stores in *timeout the
// milliseconds the loop may sleep (5000 when nothing is due).  1, or 0 when
// reaping failed.
int ExtraProcess_Wait(long* timeout);

// Told about every reaped child (the service router wants to know).
void ExtraProcess_SetChildEndedHook(void (*hook)(pid_t pid, int status));
// Removes every entry without calling anything (shutdown, tests).
void ExtraProcess_Clear();
