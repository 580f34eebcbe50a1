// gui/text: read-only coloured text: text elements and the stores that
// hold them, the browser that fills a store, the text view that lays out
// and paints only what is shown, scrolling and line-selecting margins.
// position_table.h, textview_impl.h and text_painter_draw.h stay private.
// Builds on gui/core, gui/x11, gui/loop and base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/text/browser.h"           // a store filled line by line, with colours
#include "gui/text/row_store.h"         // rows built only when a view shows them
#include "gui/text/scroll_bar.h"        // the scroll bar item
#include "gui/text/scroller.h"          // several views under one scroll position
#include "gui/text/selection_margin.h"  // the margin that selects whole lines
#include "gui/text/store_array.h"       // a store over an array of elements
#include "gui/text/store_simple.h"      // a store that owns its elements
#include "gui/text/text_element.h"      // one piece of text in a row
#include "gui/text/text_elements.h"     // the kinds of element
#include "gui/text/text_metrics.h"      // font metrics a view lays out with
#include "gui/text/text_painter.h"      // what an element paints on
#include "gui/text/text_store.h"        // rows of elements, with listeners
#include "gui/text/textview.h"          // the text view
