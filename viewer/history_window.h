// The history window of a file under version control: one row per
// version (version, date, user, tags, the comment's first line), newest
// first and sortable by any column; the selected version's whole comment
// below.  A double click compares a version with its predecessor,
// Control+click on a second version compares the two, and the buttons
// compare with the predecessor, between the two chosen versions, or with
// the file on disk.  One window per file: showing the history of a file
// already shown refreshes and raises its window.  The window keeps its
// size and place ("History") and publishes its state for scripts as
// "_DIFFVIEW_STATE" lines: file, rows, selected, marked, order, the
// shown versions in order ("versions=1.3 1.2 1.1"), the comment's first
// line ("comment"), and the list's x, y, row height and header height
// ("list").
#pragma once

#include "vc/vc_records.h"

// Makes these windows version control's history browser, counted by the
// main loop among the windows that keep the program running.
void HistoryWindow_install();
// Opens or refreshes the history window of `file`.
void HistoryWindow_show(const char* file, const History_Info& history);
// How many history windows are open.
int HistoryWindow_count();
