// The toolkit's event record, handed to every item: X events are translated
// into it (keys into key codes, buttons into actions with click counts,
// exposures into repaint areas) so that no item ever sees an XEvent.
#pragma once

#include "gui/x11/draw.h"

// Event types (word 0 of the record).
enum WEventType {
  WEV_NONE = -1,        // nothing to deliver
  WEV_REPAINT = 0,      // x, y, width, height of the area to paint
  WEV_CONFIGURE = 1,    // width, height of the window
  WEV_MAP = 2,          // flag: 1 mapped, 0 unmapped
  WEV_CLIENT = 3,       // client message from the window manager
  WEV_FOCUS = 4,        // flag: 1 in, 0 out
  WEV_SELECTION = 5,    // selection event; subKind says which
  WEV_MESSAGE = 6,      // a toolkit message between items
  WEV_MOUSE = 7,        // button press, release or motion
  WEV_KEY = 8,          // key press (or a lone Alt/Meta release)
  WEV_HELP = 9,         // the key the key map names "HELP"
  WEV_CROSSING = 15,    // flag: 1 enter, 0 leave
};

// Mouse actions.
enum { WMOUSE_RELEASE = -1, WMOUSE_MOTION = 0, WMOUSE_PRESS = 1 };

// Key codes of function keys: 0x100 | the low byte of the keysym.
enum WKeyCode {
  WKEY_BACKSPACE = 0x108,
  WKEY_TAB = 0x109,
  WKEY_RETURN = 0x10D,
  WKEY_ESCAPE = 0x11B,     // 283
  WKEY_HOME = 0x150,       // 336
  WKEY_LEFT = 0x151,       // 337
  WKEY_UP = 0x152,         // 338
  WKEY_RIGHT = 0x153,      // 339
  WKEY_DOWN = 0x154,       // 340
  WKEY_PAGEUP = 0x155,     // 341
  WKEY_PAGEDOWN = 0x156,   // 342
  WKEY_END = 0x157,        // 343
  WKEY_HELP = 0x16A,
  WKEY_META_L = 0x1E7,
  WKEY_META_R = 0x1E8,
  WKEY_ALT_L = 0x1E9,
  WKEY_DELETE = 0x1FF,
  // Characters beyond Latin-1 typed through the input method; the record's
  // chars hold them.
  WKEY_TEXT = 0x200,
};

// Modifier bits of the state word, as X reports them.
enum WModifier {
  WMOD_SHIFT = 1 << 0,
  WMOD_LOCK = 1 << 1,
  WMOD_CONTROL = 1 << 2,
  WMOD_ALT = 1 << 3,  // Mod1
  WMOD_BUTTON1 = 1 << 8,
  WMOD_BUTTON2 = 1 << 9,
  WMOD_BUTTON3 = 1 << 10,
};

// Selection sub-kinds of a WEV_SELECTION event.
enum WSelectionKind { WSEL_CLEAR, WSEL_TEXT, WSEL_BITS, WSEL_LINES, WSEL_RECT };

// One event.  The words keep their fixed order; the ones that mean
// different things for mice and keys have one field per meaning.
struct xinLibSt {
  int type = WEV_NONE;       // 0: WEventType
  WindowId window = 0;       // 1: X window of the event
  int x = 0;                 // 2: x; width (configure); flag (focus, map, crossing)
  int y = 0;                 // 3: y; height (configure)
  unsigned state = 0;        // 4: modifier mask (repaint: width)
  int code = 0;              // 5: mouse action or key code (repaint: height)
  int clicks = 0;            // 6: mouse click count
  const char* chars = nullptr;  // 6: key: the decoded characters (UTF-8)
  int button = 0;            // 7: mouse button, 0 for motion
  int nchars = 0;            // 7: key: number of decoded bytes
  unsigned long time = 0;    // 8: event time
  int zero = 0;              // 9: key: 0
  // Fields that have no word of their own.
  int width = 0, height = 0;  // repaint and configure sizes, by name
  int subKind = 0;            // selection: WSelectionKind; client: the atom
  long data[5] = {};          // client message or toolkit message payload
};

// What a translation of a key press gives: the code to deliver, or 0 when
// the key is dropped (keysyms above Latin-1 that are not function keys).
int W_keyCodeOfKeysym(unsigned long keysym);
// True for the Alt/Meta key codes that are reported alone on release.
bool W_isLoneModifierCode(int code);
