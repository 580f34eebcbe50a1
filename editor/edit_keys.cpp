// The keys and the mouse of an editor window, seen before the text view
// sees them: typing, Backspace and Delete, the arrows, Home and End, the
// page keys, Shift to extend the selection, Control+Z to undo, Control+X,
// C and V through the CLIPBOARD, Control+A, Control+S to save and
// Control+Q to close; a press puts the caret, a drag selects.  The wheel
// is left to the view.
#include <algorithm>

#include "editor/edit_window.h"
#include "editor/editor.h"
#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/textview.h"
#include "gui/x11/display.h"
#include "gui/x11/selection.h"
#include "text/file.h"

namespace {

// The letter of a Control key, or 0.
char controlLetter(const xinLibSt* e) {
  if (!(e->state & WMOD_CONTROL)) return 0;
  if (e->nchars >= 1 && e->chars && e->chars[0] >= 1 && e->chars[0] <= 26)
    return static_cast<char>('a' + e->chars[0] - 1);
  if (e->code >= 'a' && e->code <= 'z') return static_cast<char>(e->code);
  if (e->code >= 'A' && e->code <= 'Z') return static_cast<char>(e->code - 'A' + 'a');
  return 0;
}

void refused(Edit* edit) {
  gui_bell();
  cwSetMsg(edit->window, "The file is locked: it cannot be changed here", 0);
}

void copy(Edit* edit) {
  if (edit->buffer().hasSelection())
    selectionOwner_offer(edit->view->getWindow(), true, edit->buffer().selectedText());
}

void paste(Edit* edit) {
  const std::string* own = selectionOwner_text(true);
  if (!own) {
    selection_requestPaste(edit->view->getWindow(), true);
    return;
  }
  std::string text = *own;
  if (!edit->buffer().type(text)) refused(edit);
}

void save(Edit* edit) {
  file* f = edit->buffer().getFile();
  if (!edit_SaveOver(f, nullptr, edit->window)) return;
  std::string message = "Saved ";
  message += f->name;
  cwSetMsg(edit->window, message.c_str(), 0);
  edit_Publish(edit);
}

bool controlKey(Edit* edit, char letter) {
  EditBuffer& b = edit->buffer();
  bool ok = true;
  switch (letter) {
    case 'a': b.moveTo(EditPos{1, 0}, false), b.moveTo(b.endOfText(), true); break;
    case 'c': copy(edit); break;
    case 'x': copy(edit), ok = b.isLocked() ? false : (b.cutSelection(), true); break;
    case 'v': paste(edit); break;
    case 'z': ok = b.isLocked() ? false : (b.undo() || (gui_bell(), true)); break;
    case 's': save(edit); break;
    case 'q':
      if (edit->embedded) return false;
      cwDestroy(edit->window);
      return true;
    default: return false;
  }
  if (!ok) refused(edit);
  return true;
}

// The caret one row up or down, at the same column of characters.
EditPos vertical(EditBuffer& b, long rows) {
  EditPos c = b.caret();
  long cell = edit_CellOf(b.text(c.line), c.col);
  long line = std::clamp(c.line + rows, 1L, b.rowCount());
  return EditPos{line, edit_ColAtCell(b.text(line), cell)};
}

bool motionKey(Edit* edit, int code, unsigned state) {
  EditBuffer& b = edit->buffer();
  bool shift = state & WMOD_SHIFT, control = state & WMOD_CONTROL;
  long page = std::max(1, edit->view->getHeight() / std::max(1, font_h) - 1);
  EditPos c = b.caret(), to;
  switch (code) {
    case WKEY_LEFT: to = b.stepLeft(c); break;
    case WKEY_RIGHT: to = b.stepRight(c); break;
    case WKEY_UP: to = vertical(b, -1); break;
    case WKEY_DOWN: to = vertical(b, 1); break;
    case WKEY_PAGEUP: to = vertical(b, -page); break;
    case WKEY_PAGEDOWN: to = vertical(b, page); break;
    case WKEY_HOME: to = control ? EditPos{1, 0} : EditPos{c.line, 0}; break;
    case WKEY_END: to = control ? b.endOfText() : EditPos{c.line, 1L << 30}; break;
    default: return false;
  }
  if (!shift && b.hasSelection() && (code == WKEY_LEFT || code == WKEY_RIGHT))
    to = code == WKEY_LEFT ? b.selectionStart() : b.selectionEnd();
  b.moveTo(to, shift);
  return true;
}

bool editKey(Edit* edit, const xinLibSt* e) {
  EditBuffer& b = edit->buffer();
  bool ok;
  if (e->code == WKEY_BACKSPACE) ok = b.backspace();
  else if (e->code == WKEY_DELETE) ok = b.deleteForward();
  else if (e->code == WKEY_RETURN) ok = b.type("\n");
  else if (e->code == WKEY_TAB) ok = b.type("\t");
  else if (e->code == WKEY_ESCAPE) return b.moveTo(b.caret(), false), true;
  else if (e->nchars > 0 && e->chars && static_cast<unsigned char>(e->chars[0]) >= 32 &&
           e->chars[0] != 127)
    ok = b.type(std::string(e->chars, e->nchars));
  else return false;
  if (!ok) refused(edit);
  return true;
}

bool key(Edit* edit, const xinLibSt* e) {
  if (e->state & WMOD_ALT) return false;
  cwSetMsg(edit->window, nullptr, 0);
  if (char letter = controlLetter(e)) return controlKey(edit, letter);
  return motionKey(edit, e->code, e->state) || editKey(edit, e);
}

bool mouse(Edit* edit, const xinLibSt* e) {
  if (e->button == 4 || e->button == 5) return false;
  bool extend = e->state & WMOD_SHIFT;
  if (e->code == WMOUSE_PRESS && e->button == 1) {
    edit->view->activateMe();
    edit->buffer().moveTo(edit_PosAt(edit, e->x, e->y), extend);
    edit->dragging = true;
  } else if (e->code == WMOUSE_MOTION && edit->dragging) {
    edit->buffer().moveTo(edit_PosAt(edit, e->x, e->y), true);
  } else if (e->code == WMOUSE_RELEASE && e->button == 1) {
    edit->dragging = false;
    if (edit->buffer().hasSelection())
      selectionOwner_offer(edit->view->getWindow(), false, edit->buffer().selectedText());
  } else if (e->code == WMOUSE_PRESS) {
    edit->view->activateMe();
  }
  return true;
}

}  // namespace

bool edit_Filter(xinLibSt* e, WWindowedItem*, void* data) {
  auto* edit = static_cast<Edit*>(data);
  std::weak_ptr<bool> alive = edit->view->aliveToken();
  bool used = false;
  if (e->type == WEV_KEY) used = key(edit, e);
  else if (e->type == WEV_MOUSE) used = mouse(edit, e);
  else if (e->type == WEV_SELECTION && e->subKind == WSEL_TEXT && e->chars) {
    if (!edit->buffer().type(std::string(e->chars, e->nchars))) refused(edit);
    used = true;
  }
  if (used && !alive.expired()) edit_RevealCaret(edit);
  return used;
}
