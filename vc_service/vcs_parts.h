// Pieces the backends share inside the service library.
#pragma once

#include <string>
#include <vector>

#include <memory>

#include "vc/vc_records.h"

class VcBackend;

// Each system's backend.
std::unique_ptr<VcBackend> vcs_MakeKvcBackend();
std::unique_ptr<VcBackend> vcs_MakeRcsBackend();
std::unique_ptr<VcBackend> vcs_MakeCvsBackend();
std::unique_ptr<VcBackend> vcs_MakeGitBackend();
std::unique_ptr<VcBackend> vcs_MakeDetectingBackend();

// The versions on the line of development of `name`, newest first.
std::vector<std::string> vcs_Lane(const History_Info& history, const std::string& name);

// The output of rlog (RCS) or cvs log: the revisions, newest first as
// listed, with their dates, authors, comments and branch flags, the
// symbolic names as tags, and the head; `locker` receives who holds a
// lock on the head ("" when nobody).  False when it is not such output.
bool vcs_ParseRlog(const std::string& text, History_Info* history, std::string* head,
                   std::string* locker);

// For each line of `newer` (from 1; entry 0 unused) the line of `older`
// the difference engine pairs it with, or 0 when the line is new.
std::vector<int> vcs_Partners(const std::string& older, const std::string& newer);

// The identity of a file as a stamp: device, inode, size and modification
// time in nanoseconds; "" when it does not exist.
std::string vcs_FileStamp(const std::string& path);
