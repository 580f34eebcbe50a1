// The toolkit's side of the configuration: X resources supply the option
// defaults, colour options get their pixels here, and changed colours,
// fonts or the click pause are applied to the running toolkit.
#pragma once

// Fills the configuration's hooks and brings every option to its default
// (X resources included).  Called by WGUIInit once the resource database
// is built.
void gui_connectConfiguration();

// Re-applies what the configuration says: colours, the default font, the
// click pause; every window is repainted.
void gui_applyConfiguration();
