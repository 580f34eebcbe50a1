// Text typed through the input method of the locale: composed characters
// and characters beyond Latin-1 (from an input method server, or the local
// method Xlib offers when none runs).  Without a method, or without a
// context for a window, keys are decoded by the keyboard map alone.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <unordered_map>

#include "gui/x11/xdisplay.h"

namespace {

std::unordered_map<Window, XIC> contexts;

XIC contextOf(Window w) {
  auto it = contexts.find(w);
  return it == contexts.end() ? nullptr : it->second;
}

}  // namespace

void x11_openInputMethod() {
  XState& xs = xstate();
  if (xs.inputMethod) return;
  // Only the character type follows the environment; numbers and messages
  // keep the C conventions the program's files are written in.
  if (!setlocale(LC_CTYPE, "") || !XSupportsLocale()) setlocale(LC_CTYPE, "C");
  XSetLocaleModifiers("");
  xs.inputMethod = XOpenIM(xs.display, nullptr, nullptr, nullptr);
  if (!xs.inputMethod) {
    XSetLocaleModifiers("@im=none");  // a named server that is not there
    xs.inputMethod = XOpenIM(xs.display, nullptr, nullptr, nullptr);
  }
}

void x11_closeInputMethod() {
  XState& xs = xstate();
  for (auto& [w, ic] : contexts) XDestroyIC(ic);
  contexts.clear();
  if (xs.inputMethod) XCloseIM(xs.inputMethod);
  xs.inputMethod = nullptr;
}

// The method draws nothing of its own in our windows: its pre-edit and
// status, if any, appear in its own windows.
void x11_createInputContext(Window w) {
  XState& xs = xstate();
  if (!xs.inputMethod || contextOf(w)) return;
  XIC ic = XCreateIC(xs.inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                     XNClientWindow, w, XNFocusWindow, w, nullptr);
  if (!ic) return;
  long wanted = 0;
  XGetICValues(ic, XNFilterEvents, &wanted, nullptr);
  XWindowAttributes a;
  if (wanted && XGetWindowAttributes(xs.display, w, &a))
    XSelectInput(xs.display, w, a.your_event_mask | wanted);
  contexts[w] = ic;
}

void x11_destroyInputContext(Window w) {
  XIC ic = contextOf(w);
  if (!ic) return;
  XDestroyIC(ic);
  contexts.erase(w);
}

void x11_focusInputContext(Window w, bool in) {
  XIC ic = contextOf(w);
  if (!ic) return;
  if (in) XSetICFocus(ic);
  else XUnsetICFocus(ic);
}

bool x11_lookupUtf8(XKeyEvent* key, std::string* text, KeySym* keysym) {
  XIC ic = contextOf(key->window);
  if (!ic || key->type != KeyPress) return false;
  char buf[64];
  Status status = 0;
  *keysym = NoSymbol;
  int n = Xutf8LookupString(ic, key, buf, sizeof buf, keysym, &status);
  if (status == XBufferOverflow) {
    std::string big(static_cast<size_t>(n), '\0');
    n = Xutf8LookupString(ic, key, big.data(), n, keysym, &status);
    text->assign(big.data(), n > 0 ? n : 0);
  } else {
    text->assign(buf, n > 0 && (status == XLookupChars || status == XLookupBoth) ? n : 0);
  }
  if (status != XLookupKeySym && status != XLookupBoth) *keysym = NoSymbol;
  return true;
}
