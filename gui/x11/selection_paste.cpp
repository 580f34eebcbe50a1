// Pasting from PRIMARY or CLIPBOARD: the owner is asked to convert the
// selection into a property of the asking window, as UTF8_STRING and then
// as STRING, and the answer is read when its SelectionNotify arrives and
// handed on as a WSEL_TEXT record.  Nothing waits.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

#include "gui/x11/event_translate.h"
#include "gui/x11/selection.h"
#include "gui/x11/xdisplay.h"

namespace {

constexpr long kMaxPasteWords = 1 << 18;  // 1 MB; more is not one line anyway

std::string pasted;  // the text of the last WSEL_TEXT record

Atom pasteProperty() { return x11_atom("DIFFVIEW_PASTE"); }

std::string latin1ToUtf8(const unsigned char* s, unsigned long n) {
  std::string out;
  for (unsigned long i = 0; i < n; i++) {
    if (s[i] < 0x80) {
      out += static_cast<char>(s[i]);
    } else {
      out += static_cast<char>(0xC0 | (s[i] >> 6));
      out += static_cast<char>(0x80 | (s[i] & 0x3F));
    }
  }
  return out;
}

// The converted text from the property (deleting it); false when the owner
// refused, or answered in pieces (INCR).
bool readProperty(Window w, std::string* text) {
  Display* d = xstate().display;
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, pasteProperty(), 0, kMaxPasteWords, True, AnyPropertyType, &type,
                         &format, &n, &after, &data) != Success)
    return false;
  bool ok = data && format == 8 && type != x11_atom("INCR");
  if (ok && type == XA_STRING) *text = latin1ToUtf8(data, n);
  else if (ok) text->assign(reinterpret_cast<char*>(data), n);
  if (data) XFree(data);
  return ok;
}

}  // namespace

int gui_translatePasteAnswer(const XSelectionEvent& e, xinLibSt* out) {
  if (e.property != None && readProperty(e.requestor, &pasted)) {
    *out = xinLibSt();
    out->type = WEV_SELECTION;
    out->subKind = WSEL_TEXT;
    out->window = e.requestor;
    out->chars = pasted.c_str();
    out->nchars = static_cast<int>(pasted.size());
    return 1;
  }
  // Owners that know no UTF8_STRING may still give Latin-1.
  if (e.target == x11_atom("UTF8_STRING") && e.selection != None)
    XConvertSelection(xstate().display, e.selection, XA_STRING, pasteProperty(), e.requestor,
                      CurrentTime);
  return 0;
}

void selection_requestPaste(WindowId window, bool clipboard) {
  if (!xstate().display || !window) return;
  Atom selection = clipboard ? x11_atom("CLIPBOARD") : XA_PRIMARY;
  XConvertSelection(xstate().display, selection, x11_atom("UTF8_STRING"), pasteProperty(),
                    window, CurrentTime);
  XFlush(xstate().display);
}
