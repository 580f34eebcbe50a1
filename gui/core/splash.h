// The splash window: the program's name shown at the centre of the screen
// while it starts, unless "-nosplash" or the environment variable NOSPLASH
// said no.  It goes when the first top-level window is made, or after a
// few seconds when none is.
#pragma once

// Shows the splash with `title` (in the configured "bigfont") over
// `subtitle` (in the default font), when the toolkit options allow one.
void W_showSplash(const char* title, const char* subtitle);
void W_closeSplash();
bool W_splashShown();
