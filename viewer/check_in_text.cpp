#include "viewer/check_in_text.h"

#include <algorithm>
#include <string_view>

#include "gui/core/pixels.h"
#include "gui/text/browser.h"

void dv_ShowCheckIn(SimpleBrowser* browser, const std::string& version, const std::string& author,
                    const std::string& date, const std::string& comments) {
  browser->startBatch();
  browser->clear();
  std::string head = version + ") " + author + " " + date;
  browser->addColoredText(head.c_str(), fg_pixel, bg_pixel);
  browser->addLineBreak(bg_pixel);
  browser->addColoredLine(controlshadow_pixel, -1, 2, false, true);
  std::string_view rest = comments;
  while (!rest.empty()) {
    size_t end = std::min(rest.find('\n'), rest.size());
    browser->addColoredText(rest.data(), comment_fg, -1, static_cast<int>(end));
    browser->addLineBreak();
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  browser->endBatch();
}
