// X events into event records: keys by the key code rules, buttons with
// click counts, motion coalesced per window, exposures collected as damage,
// crossings and focus changes of grab endings dropped.
#include "gui/x11/event_translate.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <string>

#include "gui/x11/damage.h"
#include "gui/x11/xdisplay.h"

namespace {

LoneModifierTracker lone;
ClickCounter clicks;
std::string keyChars;

// Latin-1 bytes as UTF-8.
void appendLatin1(std::string& out, const char* bytes, int n) {
  for (int i = 0; i < n; i++) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void commonFields(XEvent* e, xinLibSt* out) {
  *out = xinLibSt();
  out->window = e->xany.window;
}

// The key code of a key event (0 for dropped keysyms) and its keysym.
int keyCodeOf(XKeyEvent* event, unsigned long* keysym) {
  KeySym ks = NoSymbol;
  char buf[32];
  XLookupString(event, buf, sizeof buf, &ks, nullptr);
  *keysym = ks;
  return W_keyCodeOfKeysym(ks);
}

// Decodes a key press into `out` (UTF-8): through the window's input
// context when it has one, else by the keyboard map as Latin-1.  The key
// code; WKEY_TEXT for characters only the input method gives.
int decodePress(XKeyEvent* k, std::string& out, unsigned long* keysym) {
  std::string typed;
  KeySym ks = NoSymbol;
  if (!x11_lookupUtf8(k, &typed, &ks)) {
    char buf[32];
    int n = XLookupString(k, buf, sizeof buf, &ks, nullptr);
    appendLatin1(out, buf, n);
    *keysym = ks;
    return W_keyCodeOfKeysym(ks);
  }
  out += typed;
  *keysym = ks;
  int code = W_keyCodeOfKeysym(ks);
  if (code == 0 && !typed.empty())
    code = static_cast<unsigned char>(typed[0]) < 0x80 ? typed[0] : static_cast<int>(WKEY_TEXT);
  return code;
}

// The next queued event, when there is one, without reading the socket.
bool peekQueued(Display* d, XEvent* next) {
  if (XEventsQueued(d, QueuedAlready) == 0) return false;
  XPeekEvent(d, next);
  return true;
}

// Printable presses typed ahead into the same window join this delivery;
// releases of such keys in between are consumed with them.
void gatherTypedAhead(XKeyEvent* first) {
  Display* d = first->display;
  XEvent next;
  while (peekQueued(d, &next) && next.xany.window == first->window &&
         (next.type == KeyPress || next.type == KeyRelease)) {
    unsigned long ks;
    int code = keyCodeOf(&next.xkey, &ks);
    if (!W_keyGathers(code, next.xkey.state)) return;
    XNextEvent(d, &next);
    if (next.type == KeyRelease || XFilterEvent(&next, None)) continue;
    decodePress(&next.xkey, keyChars, &ks);
  }
}

bool translateKey(XKeyEvent* k, bool press, xinLibSt* out) {
  unsigned long ks;
  int code = keyCodeOf(k, &ks);
  out->x = k->x, out->y = k->y, out->state = k->state, out->time = k->time;
  keyChars.clear();
  if (!press) {
    if (!lone.keyReleased(code)) return false;
    out->type = WEV_KEY, out->code = code;
    out->chars = keyChars.c_str();
    return true;
  }
  code = decodePress(k, keyChars, &ks);
  lone.keyPressed(code);
  if (code == 0 || W_isLoneModifierCode(code)) return false;
  out->type = ks == XK_Help ? WEV_HELP : WEV_KEY;
  out->code = code;
  if (out->type == WEV_KEY && W_keyGathers(code, k->state)) gatherTypedAhead(k);
  out->chars = keyChars.c_str();
  out->nchars = static_cast<int>(keyChars.size());
  return true;
}

bool translateButton(XButtonEvent* b, bool press, xinLibSt* out) {
  out->type = WEV_MOUSE;
  out->x = b->x, out->y = b->y, out->state = b->state, out->time = b->time;
  out->button = static_cast<int>(b->button);
  out->code = press ? WMOUSE_PRESS : WMOUSE_RELEASE;
  out->clicks = press ? clicks.press(b->window, out->button, b->time, b->x, b->y)
                      : clicks.current();
  return true;
}

// Only the last of the motion events queued one after another for this
// window is delivered.
bool translateMotion(XEvent* e, xinLibSt* out) {
  XEvent next;
  while (peekQueued(e->xany.display, &next) && next.type == MotionNotify &&
         next.xany.window == e->xany.window)
    XNextEvent(e->xany.display, e);
  XMotionEvent* m = &e->xmotion;
  out->type = WEV_MOUSE;
  out->x = m->x, out->y = m->y, out->state = m->state, out->time = m->time;
  out->code = WMOUSE_MOTION;
  return true;
}

bool translateCrossing(XCrossingEvent* c, xinLibSt* out) {
  if (c->mode == NotifyUngrab) return false;
  out->type = WEV_CROSSING;
  out->x = c->type == EnterNotify ? 1 : 0;
  out->y = 0, out->state = c->state, out->time = c->time;
  out->data[0] = c->x, out->data[1] = c->y;
  return true;
}

bool translateClient(XClientMessageEvent* c, xinLibSt* out) {
  out->type = WEV_CLIENT;
  out->subKind = static_cast<int>(c->message_type == xstate().wmProtocols ? c->data.l[0]
                                                                           : c->message_type);
  for (int i = 0; i < 5; i++) out->data[i] = c->data.l[i];
  return true;
}

}  // namespace

int W_keyCodeOfKeysym(unsigned long keysym) {
  if (keysym >= 0xFF00 && keysym <= 0xFFFF) return static_cast<int>(0x100 | (keysym & 0xFF));
  if (keysym > 0xFF) return 0;
  return static_cast<int>(keysym);
}

bool W_isLoneModifierCode(int code) {
  return code == WKEY_META_L || code == WKEY_META_R || code == WKEY_ALT_L;
}

bool LoneModifierTracker::keyReleased(int code) {
  bool deliver = code != 0 && code == pending_;
  pending_ = 0;
  return deliver;
}

int ClickCounter::press(unsigned long window, int button, unsigned long timeMs, int x, int y) {
  bool repeat = count_ > 0 && window == window_ && button == button_ &&
                timeMs - last_ <= interval_ && std::abs(x - x_) <= 4 && std::abs(y - y_) <= 4;
  count_ = repeat ? count_ + 1 : 1;
  window_ = window, button_ = button, last_ = timeMs, x_ = x, y_ = y;
  return count_;
}

bool W_keyGathers(int code, unsigned state) {
  if (state & (WMOD_CONTROL | WMOD_ALT)) return false;
  return code >= 0x20 && code < 0x100 && code != 0x7F;
}

bool gui_translateXEvent(XEvent* e, xinLibSt* out) {
  commonFields(e, out);
  switch (e->type) {
    case KeyPress:
    case KeyRelease:
      return translateKey(&e->xkey, e->type == KeyPress, out);
    case ButtonPress:
    case ButtonRelease:
      return translateButton(&e->xbutton, e->type == ButtonPress, out);
    case MotionNotify:
      return translateMotion(e, out);
    case EnterNotify:
    case LeaveNotify:
      return translateCrossing(&e->xcrossing, out);
    case FocusIn:
    case FocusOut:
      x11_focusInputContext(e->xfocus.window, e->type == FocusIn);
      if (e->xfocus.mode == NotifyUngrab) return false;
      out->type = WEV_FOCUS, out->x = e->type == FocusIn ? 1 : 0;
      return true;
    case MapNotify:
    case UnmapNotify:
      out->type = WEV_MAP, out->x = e->type == MapNotify ? 1 : 0;
      return true;
    case ConfigureNotify:
      out->type = WEV_CONFIGURE;
      out->x = out->width = e->xconfigure.width;
      out->y = out->height = e->xconfigure.height;
      out->data[0] = e->xconfigure.x, out->data[1] = e->xconfigure.y;
      return true;
    case ClientMessage:
      return translateClient(&e->xclient, out);
    case SelectionClear:
      out->type = WEV_SELECTION, out->subKind = WSEL_CLEAR;
      out->data[0] = static_cast<long>(e->xselectionclear.selection);
      return true;
    case Expose:
      gui_addDamage(e->xexpose.window, e->xexpose.x, e->xexpose.y, e->xexpose.width,
                    e->xexpose.height);
      return false;
    case GraphicsExpose:
      gui_addDamage(e->xgraphicsexpose.drawable, e->xgraphicsexpose.x, e->xgraphicsexpose.y,
                    e->xgraphicsexpose.width, e->xgraphicsexpose.height);
      return false;
    default:
      return false;
  }
}
