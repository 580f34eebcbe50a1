// A check-in as the viewer's comment pane and the history window show it:
// "<version>) <author> <date>" on the plain background, a rule, then the
// comment line by line in the comment colour.
#pragma once

#include <string>

class SimpleBrowser;

// Replaces the browser's text with the check-in.
void dv_ShowCheckIn(SimpleBrowser* browser, const std::string& version, const std::string& author,
                    const std::string& date, const std::string& comments);
