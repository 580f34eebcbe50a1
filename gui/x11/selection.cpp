// Owning PRIMARY and CLIPBOARD: the server is told who owns each, requests
// from other clients are answered by converting the text to the asked-for
// target (a text larger than one request in pieces, INCR: each piece is
// written when the requestor has deleted the previous one, an empty piece
// ends it), and a SelectionClear (someone else selected) drops the text and
// tells the view, which cancels its highlight.
#include "gui/x11/selection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

#include "gui/x11/event.h"
#include "gui/x11/event_translate.h"
#include "gui/x11/xdisplay.h"

namespace {

struct Offer {
  Window owner = 0;
  std::string text;
};
Offer offers[2];  // 0 PRIMARY, 1 CLIPBOARD

// A text being sent in pieces to one requestor's property.  The text is a
// copy: the offer may change or go meanwhile.
struct Outgoing {
  Window requestor = 0;
  Atom property = 0, type = 0;
  std::string text;
  size_t sent = 0;
};
std::vector<Outgoing> outgoing;
void (*lostHook)(WindowId owner) = nullptr;

Atom atom(const char* name) { return x11_atom(name); }

int offerIndex(Atom selection) {
  if (selection == XA_PRIMARY) return 0;
  if (selection == atom("CLIPBOARD")) return 1;
  return -1;
}

// The largest piece one request carries, leaving room for the request's
// own words.  Big requests are not counted on: requestors expect INCR
// beyond the basic size.
size_t pieceSize() {
  return static_cast<size_t>(XMaxRequestSize(xstate().display)) * 4 - 1024;
}

// Announces the transfer (INCR with the size) and waits for the requestor
// to delete that property before the first piece.
void startPieces(const XSelectionRequestEvent& r, Atom type, const std::string& text) {
  Display* d = xstate().display;
  std::erase_if(outgoing, [&](const Outgoing& o) {
    return o.requestor == r.requestor && o.property == r.property;
  });
  XWindowAttributes a;
  long mask = XGetWindowAttributes(d, r.requestor, &a) ? a.your_event_mask : 0;
  XSelectInput(d, r.requestor, mask | PropertyChangeMask);
  long size = static_cast<long>(text.size());
  XChangeProperty(d, r.requestor, r.property, atom("INCR"), 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&size), 1);
  // A requestor that went away mid-transfer never deletes its property:
  // the oldest transfers give way.
  constexpr size_t kMostTransfers = 8;
  if (outgoing.size() >= kMostTransfers) outgoing.erase(outgoing.begin());
  outgoing.push_back(Outgoing{r.requestor, r.property, type, text, 0});
}

// Writes the text (or the list of targets) into the requestor's property;
// false when the target is not one we convert to.
bool convert(const XSelectionRequestEvent& r, const std::string& text) {
  Display* d = xstate().display;
  Atom utf8 = atom("UTF8_STRING"), targets = atom("TARGETS");
  if (r.target == targets) {
    Atom list[] = {targets, utf8, XA_STRING, atom("TEXT")};
    XChangeProperty(d, r.requestor, r.property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(list), 4);
    return true;
  }
  if (r.target != utf8 && r.target != XA_STRING && r.target != atom("TEXT")) return false;
  Atom type = r.target == XA_STRING ? XA_STRING : utf8;
  if (text.size() > pieceSize()) {
    startPieces(r, type, text);
    return true;
  }
  XChangeProperty(d, r.requestor, r.property, type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(text.data()),
                  static_cast<int>(text.size()));
  return true;
}

void answer(const XSelectionRequestEvent& r, const std::string& text) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = r.display;
  reply.requestor = r.requestor;
  reply.selection = r.selection;
  reply.target = r.target;
  reply.time = r.time;
  // Old clients name no property: the target then serves as one.
  XSelectionRequestEvent req = r;
  if (req.property == None) req.property = req.target;
  reply.property = convert(req, text) ? req.property : None;
  XSendEvent(r.display, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
}

// A SelectionClear of one of our offers: the offer goes; for PRIMARY the
// owner hears of it.  -1 when the clear is not about an offer of ours.
int cleared(const XSelectionClearEvent& e, xinLibSt* out) {
  int i = offerIndex(e.selection);
  if (i < 0 || offers[i].owner != e.window) return -1;
  Window owner = offers[i].owner;
  offers[i] = Offer{};
  if (i != 0) return 0;
  *out = xinLibSt();
  out->type = WEV_SELECTION;
  out->subKind = WSEL_CLEAR;
  out->window = owner;
  return 1;
}

}  // namespace

bool gui_sendNextPiece(const XPropertyEvent& e) {
  if (e.state != PropertyDelete) return false;
  auto it = std::find_if(outgoing.begin(), outgoing.end(), [&](const Outgoing& o) {
    return o.requestor == e.window && o.property == e.atom;
  });
  if (it == outgoing.end()) return false;
  size_t n = std::min(pieceSize(), it->text.size() - it->sent);
  XChangeProperty(xstate().display, it->requestor, it->property, it->type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(it->text.data() + it->sent),
                  static_cast<int>(n));
  it->sent += n;
  if (n == 0) outgoing.erase(it);  // the empty piece ends the transfer
  return true;
}

int gui_translateSelection(XEvent* e, xinLibSt* out) {
  if (e->type == PropertyNotify) {
    if (gui_sendNextPiece(e->xproperty)) return 0;
    return gui_translatePastePiece(e->xproperty, out);
  }
  if (e->type == SelectionRequest) {
    int i = offerIndex(e->xselectionrequest.selection);
    if (i < 0 || offers[i].owner != e->xselectionrequest.owner) return 0;
    answer(e->xselectionrequest, offers[i].text);
    return 0;
  }
  if (e->type == SelectionClear) return cleared(e->xselectionclear, out);
  if (e->type == SelectionNotify) return gui_translatePasteAnswer(e->xselection, out);
  return -1;
}

void selectionOwner_setLostHook(void (*lost)(WindowId owner)) { lostHook = lost; }

bool selectionOwner_offer(WindowId window, bool clipboard, const std::string& text) {
  Display* d = xstate().display;
  if (!d || !window) return false;
  Atom selection = clipboard ? atom("CLIPBOARD") : XA_PRIMARY;
  Offer& o = offers[clipboard ? 1 : 0];
  Window previous = o.owner;
  o.owner = window;
  o.text = text;
  XSetSelectionOwner(d, selection, window, CurrentTime);
  if (XGetSelectionOwner(d, selection) != window) {
    o = Offer{};
    return false;
  }
  // Another of our views owned it: that view's highlight goes.
  if (previous && previous != window && !clipboard && lostHook) lostHook(previous);
  return true;
}

const std::string* selectionOwner_text(bool clipboard) {
  const Offer& o = offers[clipboard ? 1 : 0];
  return o.owner ? &o.text : nullptr;
}

void selectionOwner_forgetWindow(WindowId window) {
  for (Offer& o : offers)
    if (o.owner == window) o = Offer{};
}
