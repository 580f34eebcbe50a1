// Pasting from PRIMARY or CLIPBOARD: the owner is asked to convert the
// selection into a property of the asking window, as UTF8_STRING and then
// as STRING, and the answer is read when its SelectionNotify arrives and
// handed on as a WSEL_TEXT record.  A large text comes in pieces (INCR):
// each piece is read as its PropertyNotify arrives, an empty one ends it.
// Nothing waits.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

#include "gui/x11/event_translate.h"
#include "gui/x11/selection.h"
#include "gui/x11/xdisplay.h"

namespace {

constexpr long kWholeProperty = 0x1fffffff;  // in 32-bit units: all of it

std::string pasted;  // the text of the last WSEL_TEXT record

// A paste arriving in pieces: the window it is for and what came so far.
struct Incoming {
  Window window = 0;
  Atom type = 0;
  std::string text;
};
Incoming incoming;

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

// Reads and deletes the paste property: its type and bytes.  False when
// there is none, or it holds no text (nor announces one in pieces).
bool takeProperty(Window w, Atom* type, std::string* bytes) {
  Display* d = xstate().display;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, pasteProperty(), 0, kWholeProperty, True, AnyPropertyType, type,
                         &format, &n, &after, &data) != Success)
    return false;
  bool ok = data && *type != None && (format == 8 || *type == x11_atom("INCR"));
  if (ok && format == 8) bytes->assign(reinterpret_cast<char*>(data), n);
  else bytes->clear();
  if (data) XFree(data);
  return ok;
}

// Pieces of an INCR answer arrive as property changes of the window.
void watchProperties(Window w) {
  Display* d = xstate().display;
  XWindowAttributes a;
  if (XGetWindowAttributes(d, w, &a))
    XSelectInput(d, w, a.your_event_mask | PropertyChangeMask);
}

int deliver(Window w, Atom type, const std::string& bytes, xinLibSt* out) {
  if (type == XA_STRING)
    pasted = latin1ToUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  else pasted = bytes;
  *out = xinLibSt();
  out->type = WEV_SELECTION;
  out->subKind = WSEL_TEXT;
  out->window = w;
  out->chars = pasted.c_str();
  out->nchars = static_cast<int>(pasted.size());
  return 1;
}

}  // namespace

int gui_translatePastePiece(const XPropertyEvent& e, xinLibSt* out) {
  if (!incoming.window || e.window != incoming.window || e.atom != pasteProperty())
    return -1;
  if (e.state != PropertyNewValue) return 0;
  Atom type;
  std::string piece;
  if (!takeProperty(e.window, &type, &piece)) return 0;
  if (!piece.empty()) {
    incoming.type = type;
    incoming.text += piece;
    return 0;
  }
  Incoming done = std::move(incoming);
  incoming = Incoming{};
  return deliver(done.window, done.type, done.text, out);
}

int gui_translatePasteAnswer(const XSelectionEvent& e, xinLibSt* out) {
  Atom type = None;
  std::string bytes;
  if (e.property != None && takeProperty(e.requestor, &type, &bytes)) {
    if (type != x11_atom("INCR")) return deliver(e.requestor, type, bytes, out);
    // Deleting the INCR property (done) asks the owner for the first piece.
    incoming = Incoming{e.requestor, type, ""};
    return 0;
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
  watchProperties(window);  // before any piece of an INCR answer can come
  incoming = Incoming{};
  XConvertSelection(xstate().display, selection, x11_atom("UTF8_STRING"), pasteProperty(),
                    window, CurrentTime);
  XFlush(xstate().display);
}
