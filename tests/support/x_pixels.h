// Reading back what the server shows, through the test's own connection
// after the toolkit's requests have been flushed: single pixels, how much
// of an area is not background, which colours an area holds, and the runs
// of colour down a column.
#pragma once

#include <map>
#include <vector>

#include "x_session.h"

namespace xtest {

// A run of rows: of one colour down a column, or rows holding ink.
struct Band {
  int top, bottom;  // bottom exclusive
  unsigned long pixel;
};

unsigned long pixelAt(unsigned long window, int x, int y);
// How many pixels of the area are not `background`; -1 when unreadable.
int inkIn(unsigned long window, Rect area, unsigned long background);
// How many pixels of each colour the area holds.
std::map<unsigned long, int> colours(unsigned long window, Rect area);
// The colour runs down column x from y0 to y1.
std::vector<Band> bands(unsigned long window, int x, int y0, int y1);
// Runs of rows of the whole window where a pixel between x0 and x1
// differs from the row's own colour at x = bgX.
std::vector<Band> inkRows(unsigned long window, int x0, int x1, int bgX = 4);

}  // namespace xtest
