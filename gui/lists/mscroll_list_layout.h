// The arithmetic of the column list, free of any display: which column and
// row a point falls on, where a keyboard move takes the selection, and
// which first row keeps a given row in view.  MScrollList paints and hit-
// tests through these.
#pragma once

#include <vector>

// The column under x (pixels from the list's left edge) for columns of the
// given widths laid left to right.  Points right of the last column belong
// to the last one; -1 without columns or for x < 0.
int mslColumnAt(const std::vector<int>& widths, int x);
// The left edge of a column (the sum of the widths before it).
int mslColumnLeft(const std::vector<int>& widths, int column);

// The row under y (pixels from the top of the list) when the header takes
// `headerHeight` pixels and the rows below it start `top` pixels into the
// list of `rowCount` rows of `rowHeight`; -1 on the header or below the
// last row.
int mslRowAt(int y, int headerHeight, long top, int rowHeight, int rowCount);

// Where a selection key moves the selection: Up and Down by one, Page Up
// and Page Down by `pageRows` (at least one), Home and End to the ends.
// Without a selection any move key selects the first row (End the last).
// The answer stays within the rows; -1 for an empty list, and `current`
// itself for keys that are no move keys.
int mslMoveSelection(int current, int key, int rowCount, int pageRows);
bool mslIsMoveKey(int key);

// The first visible pixel (a multiple of rowHeight) that shows `row` whole
// in a body of `bodyHeight` pixels, changing `top` as little as possible.
long mslTopShowing(long top, int row, int rowHeight, int bodyHeight);
