// The browser's text going out: as a string, into a file, to the printer;
// and the notice that one element changed its looks.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "base/gen.h"
#include "gui/text/browser.h"
#include "gui/text/textview.h"

char* SimpleBrowser::getText() { return view_->getText(); }

namespace {

// The header line and the text into an open stream, which is closed.
bool writeText(FILE* f, const char* header, const char* text) {
  if (header) std::fprintf(f, "%s\n", header);
  std::fprintf(f, "%s", text ? text : "");
  bool ok = !std::ferror(f);
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool SimpleBrowser::saveText(const char* file, const char* header) {
  if (!file) return false;
  FILE* f = std::fopen(file, "w");
  if (!f) return false;
  char* text = getText();
  bool ok = writeText(f, header, text);
  gen_free(text);
  return ok;
}

bool SimpleBrowser::printText(const char* header) {
  char* name = nullptr;
  const int fd = gen_mkstemp(".txt", &name);
  FILE* f = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (fd >= 0 && !f) close(fd);
  char* text = f ? getText() : nullptr;
  bool ok = false;
  if (f && writeText(f, header, text)) {
    char* lpr = gen_findexec("lpr");
    char* lp = lpr ? nullptr : gen_findexec("lp");
    if (lpr || lp) {
      char* quoted = gen_shellescapify_filename(name);
      char* command = gen_concat3(lpr ? lpr : lp, " ", quoted);
      ok = gen_system(command) == 0;
      gen_free(command);
      gen_free(quoted);
    }
    gen_free(lpr);
    gen_free(lp);
  }
  gen_free(text);
  if (name) gen_removefile(name);
  gen_free(name);
  return ok;
}

void SimpleBrowser::notifyElementChanged(TextElement* element) {
  for (TextReference r = store_->getFirstElement(); r; r = store_->getNextElement(r)) {
    if (store_->getElement(r) != element) continue;
    view_->handleChangedText(store_, r);
    return;
  }
}
