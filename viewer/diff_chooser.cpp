// The file chooser dialog: two rows of name and version fields with their
// Browse and spin buttons, and "Diff" / "Cancel".
#include "viewer/diff_chooser.h"

#include <algorithm>

#include "base/gen.h"
#include "gui/core/colwind.h"
#include "gui/lists/file_choose.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/bitmap.h"
#include "gui/widgets/button.h"
#include "gui/widgets/prompt.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field.h"
#include "vc/vc.h"
#include "viewer/diffviewer.h"

namespace {

constexpr int kWidth = 640, kHeight = 97;
constexpr int kPad = 10;
constexpr int kSpinWidth = 24;
const DrawRect kSomewhere{0, 0, 10, 10};

DiffFileChooser_GUI* chooserOf(ColWind* w);

DiffFileChooser_GUI* chooserOf(WWindowedItem* item) {
  return item ? chooserOf(item->getTopLevel()) : nullptr;
}

void onAction(WButton* b, const char* command) {
  DiffFileChooser_GUI* c = chooserOf(b);
  if (!c) return;
  if (std::string(command) == "Diff") c->handle_action_Diff();
  else c->handle_action_Cancel();
}

void onButton(WButton* b) {
  DiffFileChooser_GUI* c = chooserOf(b);
  if (!c) return;
  if (b == c->choose_file_l) c->ChooseLeftFile();
  else if (b == c->choose_file_r) c->ChooseRightFile();
  else if (b == c->choose_version_l) c->ChooseLeftVersion();
  else if (b == c->choose_version_r) c->ChooseRightVersion();
}

void onSpin(WButton* b, const char* command) {
  DiffFileChooser_GUI* c = chooserOf(b);
  if (!c) return;
  bool next = std::string(command) == "Next";
  if (b->getParent() == c->spin_r) next ? c->SpinRightNext() : c->SpinRightPrevious();
  else next ? c->SpinLeftNext() : c->SpinLeftPrevious();
}

void onEnter(TextField* f) {
  if (DiffFileChooser_GUI* c = chooserOf(f)) c->handle_action_Diff();
}

DiffFileChooser_GUI* chooserOf(ColWind* w) {
  return dynamic_cast<DiffFileChooser_GUI*>(WGeneratedWindow::fromWindow(w));
}

WButton* button(ColWind* w, const char* label) {
  auto* b = new WButton(w, kSomewhere, label);
  b->setCallback(onButton);
  return b;
}

TextField* field(ColWind* w) {
  auto* f = new TextField(w, kSomewhere, true);
  f->setTrimSpaces(true);
  f->setEnterCallback(onEnter);
  return f;
}

}  // namespace

// ---- the generated dialog ----

// Escape is Cancel, as in every dialog; Tab and Shift+Tab go round the
// four fields.
void DiffFileChooser_GUI::CallEvent(xinLibSt* event) {
  if (event->type == WEV_CONFIGURE) layout(event->width, event->height);
  if (event->type != WEV_KEY || (event->state & ~WMOD_SHIFT)) return;
  if (event->code == WKEY_ESCAPE && !event->state) {
    handle_action_Cancel();
  } else if (event->code == WKEY_TAB) {
    TextField* fields[] = {filename_l, version_l, filename_r, version_r};
    int at = 0;
    while (at < 4 && fields[at] != window->getActiveItem()) at++;
    int step = event->state & WMOD_SHIFT ? 3 : 1;
    fields[at < 4 ? (at + step) % 4 : 0]->activateMe();
  }
}

bool DiffFileChooser_create(DiffFileChooser_GUI* g) {
  int h = TextField::preferredHeight();
  int height = std::max(kHeight, 4 * kPad + 3 * h);
  if (!g->createWindow("Choose two files", "Choose two files", kWidth, height)) return false;
  ColWind* w = g->window;
  bitmap_setWindowIcon(w, "VORNEPIC");
  g->text_t = new WStaticText(w, kSomewhere, "Choose two files to view differences:");
  g->text_l = new WStaticText(w, kSomewhere, "Left:");
  g->filename_l = field(w);
  g->choose_file_l = button(w, "Browse...");
  g->version_l = field(w);
  g->choose_version_l = button(w, "Version...");
  g->text_r = new WStaticText(w, kSomewhere, "Right:");
  g->filename_r = field(w);
  g->choose_file_r = button(w, "Browse...");
  g->version_r = field(w);
  g->choose_version_r = button(w, "Version...");
  g->dummy_text = new WStaticText(w, kSomewhere, "");
  for (WButtonSet** spin : {&g->spin_l, &g->spin_r})
    *spin = bt_SpinPair(w, "@@Next Version", "@@Previous Version", kSpinWidth,
                        TextField::preferredHeight(), onSpin);
  g->action = new WButtonSet(w, kSomewhere, WButtonSet::kHorizontal);
  g->action->addButton("Diff");
  g->action->addButton("Cancel");
  g->action->setCommandHandler(onAction);
  g->layout(kWidth, height);
  return true;
}

// The prompt with "Diff" and "Cancel" level with it at the right; below,
// one row per side, 10 pixels apart: label, name field, Browse, version
// field, the (normally hidden) Version button and the spin buttons.
const char* const DiffFileChooser_PosSizeInfo = R"(
action.right = window.right - 10
action.top = window.top + 5
action.width = $action
action.height = $actionHeight
text_t.left = window.left + 10
text_t.top = action.top
text_t.right = action.left - 10
text_t.height = $field
)";

// Below the two rows.
const char* const DiffFileChooser_EndPosSizeInfo = R"(
dummy_text.left = window.left + 10
dummy_text.top = spin_r.bottom + 10
dummy_text.width = 1
dummy_text.height = 1
)";

// One side's row, from the right: spin buttons, Version button, version
// field, Browse; the label at the left and the name field between.
const char* const DiffFileChooser_RowPosSizeInfo = R"(
spin_{s}.right = window.right - 10
spin_{s}.width = $spin
spin_{s}.top = {top}
spin_{s}.height = $field
choose_version_{s}.right = spin_{s}.left - 5
choose_version_{s}.width = $versionButton
choose_version_{s}.top = spin_{s}.top
choose_version_{s}.height = $field
version_{s}.right = choose_version_{s}.left - 5
version_{s}.width = 12c + 8
version_{s}.top = spin_{s}.top
version_{s}.height = $field
choose_file_{s}.right = version_{s}.left - 5
choose_file_{s}.width = $browse
choose_file_{s}.top = spin_{s}.top
choose_file_{s}.height = $field
text_{s}.left = window.left + 10
text_{s}.width = $label
text_{s}.top = spin_{s}.top
text_{s}.height = $field
filename_{s}.left = text_{s}.right + 5
filename_{s}.right = choose_file_{s}.left - 5
filename_{s}.top = spin_{s}.top
filename_{s}.height = $field
)";

void DiffFileChooser_GUI::layout(int width, int height) {
  if (!action) return;
  if (!placed_) {
    placer_.addRules(DiffFileChooser_PosSizeInfo);
    placer_.addRules(DiffFileChooser_RowPosSizeInfo, {{"s", "l"}, {"top", "action.bottom + 5"}});
    placer_.addRules(DiffFileChooser_RowPosSizeInfo, {{"s", "r"}, {"top", "spin_l.bottom + 10"}});
    placer_.addRules(DiffFileChooser_EndPosSizeInfo);
    const std::pair<const char*, WWindowedItem*> named[] = {
        {"text_t", text_t}, {"text_l", text_l}, {"filename_l", filename_l},
        {"choose_file_l", choose_file_l}, {"version_l", version_l},
        {"choose_version_l", choose_version_l}, {"text_r", text_r}, {"filename_r", filename_r},
        {"choose_file_r", choose_file_r}, {"version_r", version_r},
        {"choose_version_r", choose_version_r}, {"dummy_text", dummy_text}, {"spin_l", spin_l},
        {"spin_r", spin_r}, {"action", action}};
    for (const auto& [name, item] : named) placer_.addWidget(name, item);
    placed_ = true;
  }
  int h = TextField::preferredHeight();
  placer_.setSize("field", h);
  placer_.setSize("action", action->preferredWidth());
  placer_.setSize("actionHeight", std::max(h, action->preferredHeight()));
  placer_.setSize("spin", spin_l->preferredWidth());
  placer_.setSize("versionButton", choose_version_l->preferredWidth());
  placer_.setSize("browse", choose_file_l->preferredWidth());
  placer_.setSize("label", std::max(text_l->preferredWidth(), text_r->preferredWidth()));
  placer_.place(width, height);
  for (WButtonSet* set : {action, spin_l, spin_r}) set->layout();
}

// ---- the dialog's behaviour ----

DiffFileChooser_Impl::DiffFileChooser_Impl(const char* leftName, const char* leftVersion,
                                           const char* rightName, const char* rightVersion,
                                           bool reuse, const char* workingDir, int options)
    : reuse_(reuse),
      workingDir_(workingDir ? workingDir : ""),
      hasWorkingDir_(workingDir != nullptr),
      options_(options) {
  if (!DiffFileChooser_create(this)) return;
  DiffViewer::DiffViewerAdd();
  filename_l->setText(leftName);
  version_l->setText(leftVersion);
  filename_r->setText(rightName);
  version_r->setText(rightVersion);
  tf_AutoCompleteFile(filename_l, true);
  tf_AutoCompleteFile(filename_r, true);
  for (WButton* b : {choose_version_l, choose_version_r}) {
    b->setLabel("");
    b->hide();
  }
  layout(window->getWidth(), window->getHeight());
  dimSpins(false);
  dimSpins(true);
  filename_l->activateMe();
}

DiffFileChooser_Impl::~DiffFileChooser_Impl() {
  if (window || closing) DiffViewer::DiffViewerRemove();
}

// "Previous" needs an earlier version (any checked-in one when no version
// is named), "Next" a later one than the named version.
void DiffFileChooser_Impl::dimSpins(bool right) {
  std::string name = (right ? filename_r : filename_l)->getText();
  std::string version = (right ? version_r : version_l)->getText();
  WButtonSet* spin = right ? spin_r : spin_l;
  bool underVC = !name.empty() && vc_UnderVC(name.c_str());
  const char* v = version.empty() ? nullptr : version.c_str();
  char* previous = underVC ? vc_GetPreviousVersion(name.c_str(), v) : nullptr;
  char* next = underVC && v ? vc_GetNextVersion(name.c_str(), v) : nullptr;
  spin->setDimmed("Previous", !previous);
  spin->setDimmed("Next", !next);
  gen_free(previous);
  gen_free(next);
}

std::string DiffFileChooser_Impl::joined(const std::string& name) const {
  if (!hasWorkingDir_ || name.empty() || name[0] == '/') return name;
  char* path = gen_sconcat(workingDir_.c_str(), name.c_str());
  std::string out = path;
  gen_free(path);
  return out;
}

void DiffFileChooser_Impl::handle_action_Diff() {
  std::string left = joined(filename_l->getText()), right = joined(filename_r->getText());
  std::string leftVersion = version_l->getText(), rightVersion = version_r->getText();
  if (gen_access(left.c_str(), 4) == -1 || gen_isdir(left.c_str())) {
    std::string m = "No such Left file: " + left;
    gui_Alert(window, m.c_str());
    return;
  }
  if (gen_access(right.c_str(), 4) == -1 || gen_isdir(right.c_str())) {
    std::string m = "No such Right file: " + right;
    gui_Alert(window, m.c_str());
    return;
  }
  // A version that version control does not know is refused with its
  // message, before anything is loaded.
  VersionInfo info;
  if (!leftVersion.empty() && !vc_GetVersionInfo(left.c_str(), leftVersion.c_str(), &info, false))
    return;
  if (!rightVersion.empty() &&
      !vc_GetVersionInfo(right.c_str(), rightVersion.c_str(), &info, false))
    return;
  auto orNull = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  DiffViewer::createDiffViewer(left.c_str(), orNull(leftVersion), nullptr, right.c_str(),
                               orNull(rightVersion), nullptr, reuse_, false, options_);
  close();
}

void DiffFileChooser_Impl::ChooseFile(TextField* name, TextField* version) {
  std::string current = name->getText();
  char* dir = current.empty() ? gen_copy(".") : gen_dirname(current.c_str());
  char* chosen = gui_ChooseFile(window, "Choose File", dir, "*", "Select", "Editor");
  gen_free(dir);
  if (!chosen || !window) {
    gen_free(chosen);
    return;
  }
  name->setText(chosen);
  version->setText("");
  gen_free(chosen);
  layout(window->getWidth(), window->getHeight());
  dimSpins(name == filename_r);
}

void DiffFileChooser_Impl::ChooseVersion(TextField* name, TextField* version) {
  char* base = gen_basename(name->getText().c_str());
  std::string prompt = std::string("Version for ") + base;
  gen_free(base);
  char* answer = gui_Prompt(window, "Choose Version", prompt.c_str(), version->getText().c_str());
  if (answer && window) version->setText(answer);
  gen_free(answer);
}

void DiffFileChooser_Impl::SpinVersion(bool next, bool right) {
  std::string name = (right ? filename_r : filename_l)->getText();
  TextField* versionField = right ? version_r : version_l;
  std::string version = versionField->getText();
  const char* v = version.empty() ? nullptr : version.c_str();
  char* step = next ? vc_GetNextVersion(name.c_str(), v) : vc_GetPreviousVersion(name.c_str(), v);
  if (!step) return;
  versionField->setText(step);
  char* further = next ? vc_GetNextVersion(name.c_str(), step)
                       : vc_GetPreviousVersion(name.c_str(), step);
  WButtonSet* spin = right ? spin_r : spin_l;
  spin->setDimmed(next ? "Next" : "Previous", !further);
  spin->setDimmed(next ? "Previous" : "Next", false);
  gen_free(step);
  gen_free(further);
}

void DiffFileChooser_open(const char* leftName, const char* leftVersion, const char* rightName,
                          const char* rightVersion, bool reuse, const char* workingDir,
                          int options) {
  auto* chooser = new DiffFileChooser_Impl(leftName, leftVersion, rightName, rightVersion, reuse,
                                           workingDir, options);
  if (!chooser->window) delete chooser;
}
