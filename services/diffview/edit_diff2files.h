// A pair to compare asked for by another part of the suite (version
// control's history, the merge tool): with the switch DiffViewer on (the
// default) it goes to the diff view service, which shows it in the viewer
// that runs; with the switch off, to the comparison in editor windows,
// which the merge tool provides through the hook below.
#pragma once

void edit_diff2files(const char* name1, const char* version1, const char* name2,
                     const char* version2, bool reuse, bool add);

// The comparison in editor windows; unset, the pair goes to the service
// whatever the switch says.
extern void (*edit_diff2filesInEditor)(const char* name1, const char* version1,
                                       const char* name2, const char* version2);
