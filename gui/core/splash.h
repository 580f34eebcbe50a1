// The splash window: the program's name shown at the centre of the screen
// while it starts, unless "-nosplash" or the environment variable NOSPLASH
// said no.  It stays while the program loads its first comparison and goes
// when the first top-level window is shown, or after a few seconds when
// none is.
#pragma once

// Shows the splash with `title` (in the configured "bigfont") over
// `subtitle` (in the default font), when the toolkit options allow one.
void W_showSplash(const char* title, const char* subtitle);
// A window just shown goes above the splash: the splash comes back on top.
void W_raiseSplash();
void W_closeSplash();
bool W_splashShown();
