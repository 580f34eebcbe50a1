// Pasting from PRIMARY or CLIPBOARD: a text our own process offers is taken
// directly; otherwise the owner is asked to convert the selection into a
// property of the field's window, as UTF8_STRING and then as STRING, and
// the answer is read when its SelectionNotify arrives.  Nothing waits.
#include "gui/text_field_paste.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "gui/event_translate.h"
#include "gui/selection_owner.h"
#include "gui/text_field.h"
#include "gui/window_registry.h"
#include "gui/xdisplay.h"

namespace {

constexpr long kMaxPasteWords = 1 << 18;  // 1 MB; more is not one line anyway

Atom atom(const char* name) { return XInternAtom(xstate().display, name, False); }
Atom pasteProperty() { return atom("DIFFVIEW_PASTE"); }

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
  bool ok = data && format == 8 && type != atom("INCR");
  if (ok && type == XA_STRING) *text = latin1ToUtf8(data, n);
  else if (ok) text->assign(reinterpret_cast<char*>(data), n);
  if (data) XFree(data);
  return ok;
}

void answered(const XSelectionEvent& e, TextField* field) {
  std::string text;
  if (e.property != None && readProperty(e.requestor, &text)) {
    field->pasteText(text);
    return;
  }
  // Owners that know no UTF8_STRING may still give Latin-1.
  if (e.target == atom("UTF8_STRING") && e.selection != None)
    XConvertSelection(xstate().display, e.selection, XA_STRING, pasteProperty(), e.requestor,
                      CurrentTime);
}

bool translate(XEvent* e, xinLibSt* out, WWindowedItem* item) {
  if (e->type != SelectionNotify) return gui_translateXEvent(e, out);
  if (auto* field = dynamic_cast<TextField*>(item)) answered(e->xselection, field);
  return false;
}

}  // namespace

void tf_installPasteHook(TextField* field) {
  if (WindowRecord* r = field->getWindow() ? gui_findWindow(field->getWindow()) : nullptr)
    r->translate = translate;
}

void TextField::requestPaste(bool clipboard) {
  if (!isEditable() || isDimmed() || !getWindow() || !xstate().display) return;
  if (const std::string* own = selectionOwner_text(clipboard)) {
    pasteText(*own);
    return;
  }
  Atom selection = clipboard ? atom("CLIPBOARD") : XA_PRIMARY;
  XConvertSelection(xstate().display, selection, atom("UTF8_STRING"), pasteProperty(),
                    getWindow(), CurrentTime);
  XFlush(xstate().display);
}
