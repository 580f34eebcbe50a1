// Private pieces shared by the foundation library's own files: the exit
// state the signal traps consult, and the trap installer gen_init calls.
// Nothing outside base/ includes this header.
#pragma once

namespace gen_private {

// True once gen_default_exit has begun; a trap then leaves with _exit(2).
bool exiting();

// Installs the hang-up, interrupt, quit, terminate, broken-pipe and
// resource-limit traps.
void install_signal_traps();

// Points the containers' report hook at the foundation's message printer.
void install_adt_report_hook();

}  // namespace gen_private
