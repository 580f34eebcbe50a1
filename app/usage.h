// The usage text of the diffview command.
#pragma once

// Prints the usage text to standard output.
void usage();
