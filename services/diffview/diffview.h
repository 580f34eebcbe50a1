// services/diffview: the "DiffView" service, through which other tools and
// a second diffview command open comparisons in the viewer that already
// runs.  The display side drives the viewer windows of this process; the
// client side asks the display of another.  Builds on the router proxy,
// the waits with windows and the viewer's entry points.
#pragma once

#include "services/diffview/diffview_client.h"   // DiffView_Client
#include "services/diffview/diffview_display.h"  // DiffView_Display and its factory
#include "services/diffview/edit_diff2files.h"   // a pair from another tool
