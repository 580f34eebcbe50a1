// Event records to items: found by window, refused while a modal window is
// up, and delivered; repaint areas wait for the end of the drain.
#include "gui/core/dispatch.h"

#include "gui/core/colwind.h"
#include "gui/core/window_registry.h"
#include "gui/x11/damage.h"
#include "gui/x11/display.h"
#include "gui/x11/selection.h"
#include "gui/x11/window.h"

namespace {

bool stopRequested = false;
bool controlCAborts = false;

// While a modal window is up, presses elsewhere ring the bell and raise it;
// their releases are dropped.  Popups (menus opened from the dialog) belong
// to no top-level window and keep their input.
bool refusedByModal(const xinLibSt* e, WWindowedItem* item) {
  ColWind* modal = gui_getModalWindow();
  if (!modal) return false;
  ColWind* top = item->getTopLevel();
  if (!top || top == modal) return false;
  bool release = (e->type == WEV_MOUSE && e->code == WMOUSE_RELEASE) ||
                 (e->type == WEV_KEY && W_isLoneModifierCode(e->code));
  bool press = (e->type == WEV_MOUSE && e->code == WMOUSE_PRESS) || e->type == WEV_KEY ||
               e->type == WEV_HELP;
  if (press && !release) {
    gui_bell();
    xwin_raise(modal->getWindow());
  }
  return press || release;
}

// Another of our windows took PRIMARY: the one that had it loses its
// highlight.
void selectionLost(WindowId owner) {
  xinLibSt ev;
  ev.type = WEV_SELECTION;
  ev.subKind = WSEL_CLEAR;
  ev.window = owner;
  WEventDeliver(&ev);
}

}  // namespace

int gui_dispatchEvent(xinLibSt* e) {
  if (e->type == WEV_REPAINT) {
    gui_addDamage(e->window, e->x, e->y, e->width, e->height);
    return 1;
  }
  WWindowedItem* item = gui_findItem(e->window);
  if (!item || refusedByModal(e, item)) return 1;
  return WEventDeliver(e);
}

void gui_deliverDamage() {
  // Painting may add damage again; that waits for the next turn.
  for (const WDamage& d : gui_takeDamage()) {
    WWindowedItem* item = gui_findItem(d.window);
    if (!item) continue;
    xinLibSt ev;
    ev.type = WEV_REPAINT;
    ev.window = d.window;
    ev.x = d.area.x, ev.y = d.area.y;
    ev.width = d.area.width, ev.height = d.area.height;
    ev.state = static_cast<unsigned>(ev.width);
    ev.code = ev.height;
    item->EventParse(&ev);
  }
}

int WEventDeliver(xinLibSt* event) {
  WWindowedItem* item = gui_findItem(event->window);
  if (!item) return 1;
  stopRequested = false;
  item->EventParse(event);
  bool stop = stopRequested;
  stopRequested = false;
  return stop ? 0 : 1;
}

void WEventRequestStop() { stopRequested = true; }

bool gui_isAbortKey(const xinLibSt* e) {
  if (e->type != WEV_KEY) return false;
  if (e->code == WKEY_ESCAPE) return true;
  return controlCAborts && (e->state & WMOD_CONTROL) && (e->code == 'c' || e->code == 'C');
}

bool gui_controlCAborts() { return controlCAborts; }
void gui_setControlCAborts(bool on) { controlCAborts = on; }

void gui_connectDispatch() { selectionOwner_setLostHook(selectionLost); }
