// Building a viewer window, loading and re-loading its pair, comparing, and
// laying both texts into their stores row by row.
#include "viewer/diffviewer_impl.h"

#include <algorithm>
#include <cstring>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config_vars.h"
#include "diff/diff.h"
#include "gui/core/colwind.h"
#include "gui/core/fonts.h"
#include "gui/core/pixels.h"
#include "gui/core/window_config.h"
#include "gui/core/window_state.h"
#include "gui/text/browser.h"
#include "gui/text/scroll_bar.h"
#include "gui/text/selection_margin.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/widgets/splitter.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field.h"
#include "gui/x11/display.h"
#include "syntax/syntax.h"
#include "text/file.h"
#include "vc/vc.h"
#include "viewer/alignment.h"
#include "viewer/check_in_text.h"
#include "viewer/diff_chooser.h"
#include "viewer/file_list_entry.h"
#include "viewer/opener.h"
#include "viewer/overview_strip.h"
#include "viewer/pane_rows.h"

namespace {

constexpr int kRuleHeight = 2;

std::string orEmpty(const char* s) { return s ? s : ""; }
const char* orNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

bool readable(const std::string& name) { return gen_access(name.c_str(), 4) != -1; }

void freeLoadedFile(file* f) {
  if (!f) return;
  FileRemoveTemporary(f);
  FileFree(f);
}

void destroyComparison(DiffStuff* record) {
  if (!record) return;
  diff_FreeColorInfo(record->colors1);
  diff_FreeColorInfo(record->colors2);
  record->colors1 = record->colors2 = nullptr;
  DiffStuffDestroy(record);
}

}  // namespace

// ---- construction and destruction ----

DiffViewer_Impl::DiffViewer_Impl(const char* leftName, const char* leftVersion,
                                 const char* leftDate, const char* rightName,
                                 const char* rightVersion, const char* rightDate, int options)
    : options_(options), highlight_(diffhighlight_pixel) {
  DiffViewer_registerMenus();
  if (!DiffViewer_create(this, "Title")) return;
  DiffViewer::DiffViewerAdd();
  counted_ = true;
  configureViews();
  createBrowsers();

  takeRequest(leftName, leftVersion, leftDate, rightName, rightVersion, rightDate);
  for (int s = 0; s < 2; s++)
    if (!loadSide(s)) return;

  calculateDiff();
  setupDirnames();
  setupFile(false);
  setupFile(true);
  layAllRows();
  finishWindow();
  opened_ = true;
}

// Empty versions and dates count as absent; without version control the
// files on disk are compared, and the user is told.
void DiffViewer_Impl::takeRequest(const char* leftName, const char* leftVersion,
                                  const char* leftDate, const char* rightName,
                                  const char* rightVersion, const char* rightDate) {
  sides_.name[0] = orEmpty(leftName), sides_.name[1] = orEmpty(rightName);
  sides_.version[0] = orEmpty(leftVersion), sides_.version[1] = orEmpty(rightVersion);
  sides_.date[0] = orEmpty(leftDate), sides_.date[1] = orEmpty(rightDate);
  bool versioned = !sides_.fromDisk(0) || !sides_.fromDisk(1);
  if (versioned && !Vorne_VC_Module::VCEnabled()) {
    gui_Alert(window, "Version Control is disabled, so using files from disk");
    for (int s = 0; s < 2; s++) sides_.version[s].clear(), sides_.date[s].clear();
  }
}

// The first comparison is shown: the optional Close button, the size, the
// first list entry, the current difference in view, the window register,
// the context menus and the list's commands.
void DiffViewer_Impl::finishWindow() {
  if (vfCloseButtonOnTitleBar) {
    toolbar->addSeparator();
    toolbar->addButton("Close (Ctrl+Q)", "quit", "quit", "Close window");
  }
  initialGeometry();
  addFileListEntry(sides_, true, 0);
  showCurrentDiff(0);
  cwRegisterWindowClass(window, kViewerWindowClass);
  configureMenus();
  configureMsl();
}

DiffViewer_Impl::~DiffViewer_Impl() {
  for (WTextView* v : {view_left, view_right, view_comments})
    if (v && window) v->removeKeyListener(this);
  for (auto& m : margins_) m.reset();
  for (auto& p : panes_) p.reset();
  comments_.reset();
  toggler_.reset();
  if (comparison_) {
    destroyComparison(comparison_);
  } else {
    freeLoadedFile(files_[0]);
    freeLoadedFile(files_[1]);
  }
  if (counted_) DiffViewer::DiffViewerRemove();
  if (last_diffview == this) last_diffview = nullptr;
}

void DiffViewer_Impl::configureViews() {
  WTextView* textual[] = {view_left, view_right, lineno_left, lineno_right, view_comments};
  for (WTextView* v : textual) {
    v->setMinLineHeight(1);
    v->setScrollLineHeight(font_h);
  }
  for (WTextView* v : {view_left, view_right, lineno_left, lineno_right}) {
    if (debugFlag[DBG_UseTextviewZone]) v->setZoneLimit(1000);
    v->setVScroller(view_scrollbar);
  }
  view_left->setHScroller(scrollbar_left);
  view_right->setHScroller(scrollbar_right);
  view_comments->setVScroller(vscrollbar_comments);
  view_comments->setHScroller(hscrollbar_comments);
  for (WTextView* v : {view_left, view_right}) {
    v->setTabStop(font_n * std::max(1, FileGetTabSize()));  // tabs as the text model counts them
    v->setEventStealHook(stealEvent);
    v->setNewlinesInSelection(false);
    v->setMaxMouseClicks(2);
  }
  for (WTextView* v : {view_left, view_right, view_comments}) v->addKeyListener(this);
  for (WTextView* v : {view_left, view_right}) v->setBackground(filerelline_pixel);
  for (WTextView* g : {lineno_left, lineno_right}) {
    g->disableSelection();
    g->setBackground(procrelline_pixel);
    g->refreshBackgroundPixel();
  }
  view_left->activateMe();
  spin_left_Next->setDimmed(true);
  spin_right_Next->setDimmed(true);
}

void DiffViewer_Impl::createBrowsers() {
  // The two sides are laid out row by row on demand; the comment pane is a
  // small ordinary text, in the array store unless the switch
  // UseArrayStoreInDiffView is off.
  panes_[0] = std::make_unique<PaneRows>(view_left, lineno_left);
  panes_[1] = std::make_unique<PaneRows>(view_right, lineno_right);
  panes_[0]->setPartner(panes_[1].get(), false);
  panes_[1]->setPartner(panes_[0].get(), true);
  comments_ = std::make_unique<SimpleBrowser>(view_comments,
                                              debugFlag[DBG_UseArrayStoreInDiffView]);
  comments_->setMargin(1);
  margins_[0] = std::make_unique<SelectionMargin>(view_left, lineno_left);
  margins_[1] = std::make_unique<SelectionMargin>(view_right, lineno_right);
}

// Window width holds both text views at EditWidth columns, height one view
// at EditHeight lines; both shrink to fit the screen.  Narrower than 30
// columns the tool bar no longer fits, so no narrower is made.
void DiffViewer_Impl::initialGeometry() {
  constexpr int kMinColumns = 30;
  int chromeW = window->getWidth() - view_left->getWidth() - view_right->getWidth();
  int chromeH = window->getHeight() - std::max(view_left->getHeight(), view_right->getHeight());
  int screenW = 0, screenH = 0;
  gui_screenSize(&screenW, &screenH);
  int columns = std::max(EditWidth, kMinColumns), lines = EditHeight;
  // "minviewsize" and "maxviewsize" bound each text view (characters by
  // lines; 0 leaves a bound free).
  if (cfg_maxviewsize.width > 0) columns = std::min(columns, cfg_maxviewsize.width);
  if (cfg_maxviewsize.height > 0) lines = std::min(lines, cfg_maxviewsize.height);
  columns = std::max(columns, cfg_minviewsize.width), lines = std::max(lines, cfg_minviewsize.height);
  int width = font_n * 2 * columns + chromeW + 4;
  if (screenW > 0 && width > screenW) width = font_n * 2 * ((screenW - chromeW - 4) / (2 * font_n)) + chromeW + 4;
  int height = font_h * lines + chromeH;
  if (screenH > 0 && height > screenH) height = font_h * ((screenH - chromeH) / font_h) + chromeH;
  // The window keeps its place unless that would push it off the screen.
  int x = window->getX(), y = window->getY();
  if (window->sizeGiven) width = window->getWidth(), height = window->getHeight();  // "-geometry"
  if (screenW > 0 && !window->placeGiven) x = std::max(0, std::min(x, screenW - width));
  if (screenH > 0 && !window->placeGiven) y = std::max(0, std::min(y, screenH - height));
  window->setGeometry(DrawRect{x, y, width, height});
  WindowConfig_CreateWindow("DiffViewer", window);
  layout(window->getWidth(), window->getHeight());
  view_splitter->splitEvenly();
  layout(window->getWidth(), window->getHeight());
}

void DiffViewer_Impl::raiseWindow() { cwRaise(window); }

// ---- loading ----

// Loads one side into files_; false (the window stays as it was) when the
// file cannot be read.
// A version that version control does not know (any more) gives way to
// the file on disk; asked quietly, since the side still shows something.
void DiffViewer_Impl::dropUnknownVersion(int s) {
  if (!sides_.hasVersion(s)) return;
  VersionInfo info;
  if (vc_GetVersionInfo(sides_.name[s].c_str(), sides_.version[s].c_str(), &info, true) &&
      !info.version.empty())
    return;
  sides_.version[s].clear();
}

bool DiffViewer_Impl::loadSide(int s) {
  if (sides_.fromDisk(s) && !readable(sides_.name[s])) {
    std::string message = "Cannot open file for reading: " + sides_.name[s];
    showMessage(message.c_str());
    return false;
  }
  file* f = FileFVName(sides_.name[s].c_str(), orNull(sides_.version[s]), orNull(sides_.date[s]));
  if (!f) return false;
  // The language comes from the file's own name (a Makefile stays one),
  // or from the fetched copy when only version control has the file.
  f->language = syn_LanguageOfFile(sides_.fromDisk(s) ? sides_.name[s].c_str() : f->name);
  files_[s] = f;
  return true;
}

namespace {

// A NUL byte among the first 8000 bytes marks a binary file, as diff and git
// decide.
bool looksBinary(file* f) {
  constexpr long kExamined = 8000;
  long seen = 0;
  for (line* l = f ? f->firstLine : nullptr; l && seen < kExamined; l = l->next) {
    const char* text = FileLineText(f, l);
    long n = std::min(l->length, kExamined - seen);
    if (text && std::memchr(text, '\0', static_cast<size_t>(n))) return true;
    seen += l->length + 1;
  }
  return false;
}

std::string binaryNote(file* const files[2], const DiffSides& sides) {
  bool binary[2] = {looksBinary(files[0]), looksBinary(files[1])};
  if (binary[0] && binary[1]) return "  (both files are binary)";
  if (!binary[0] && !binary[1]) return "";
  char* base = gen_basename(sides.name[binary[0] ? 0 : 1].c_str());
  std::string note = std::string("  (binary file: ") + base + ")";
  gen_free(base);
  return note;
}

}  // namespace

void DiffViewer_Impl::calculateDiff() {
  binaryNote_ = binaryNote(files_, sides_);
  diffInfo* info = diff_merge(files_[0], files_[1], options_);
  bool identical = DiffIdentical(files_[0], files_[1], info);
  destroyComparison(comparison_);
  std::string shortTitle = std::string(files_[0]->title ? files_[0]->title : "") + " vs. " +
                           (files_[1]->title ? files_[1]->title : "");
  std::string title = shortTitle + " - " + DiffViewer_applicationTitle();
  comparison_ = diff_NewRecord(info, files_[0], files_[1], sides_.name[0].c_str(),
                               sides_.name[1].c_str(), title.c_str());
  cwSetName(window, shortTitle.c_str(), title.c_str(), shortTitle.c_str());
  if (identical) showMessage(("Files are identical." + binaryNote_).c_str());
  else diff_CalculateAllDiffs(comparison_);
  comparison_->colors1->current = comparison_->colors2->current = 0;
}

void DiffViewer_Impl::layAllRows() {
  readFile(0);
  readFile(1);
  colorCurrentDiff(highlight_);
  updateOverview();
}

// Each difference at its rows, in the colour of its kind.
void DiffViewer_Impl::updateOverview() {
  std::vector<OverviewStrip::Mark> marks;
  int n = diffCount();
  marks.reserve(n);
  for (int i = 0; i < n; i++) {
    RangeInfo* l = diff_GetRange(comparison_->colors1, i);
    RangeInfo* r = diff_GetRange(comparison_->colors2, i);
    Pixel colour = l->end == l->start   ? diffinserted_pixel
                   : r->end == r->start ? diffdeleted_pixel
                                        : diffchanged_pixel;
    marks.push_back({l->displayStart - 1, l->displayEnd, colour});
  }
  overview->setMarks(std::move(marks), std::max(panes_[0]->rowCount(), 1));
  overview->setCurrent(n ? currentIndex() : -1);
}

// A click on a difference's mark makes it current; anywhere else the
// views go there.
void DiffViewer_Impl::overview_handleClick(int row) {
  int slack = overview->rowAt(3) - overview->rowAt(0);
  int best = -1, distance = slack + 1;
  for (int i = 0; i < diffCount(); i++) {
    RangeInfo* l = diff_GetRange(comparison_->colors1, i);
    int d = row < l->displayStart - 1 ? l->displayStart - 1 - row
            : row > l->displayEnd     ? row - l->displayEnd
                                      : 0;
    if (d < distance) best = i, distance = d;
  }
  if (best >= 0) {
    setRange(best);
    showCurrentDiff(0);
    return;
  }
  int span = view_left->getLastLine() - view_left->getFirstLine();
  view_left->scrollToLine(std::max(1, row - span / 2), false);
}

void DiffViewer_Impl::setLineChanges(bool on) {
  lineChanges_ = on;
  layAllRows();
  publishState();
}

void DiffViewer_Impl::readFile(int s) {
  ColorInfo* mine = s ? comparison_->colors2 : comparison_->colors1;
  ColorInfo* other = s ? comparison_->colors1 : comparison_->colors2;
  panes_[s]->begin(files_[s], static_cast<synLanguageInterface*>(files_[s]->language));
  panes_[s]->setLineChanges(lineChanges_, options_);
  align_ReadFile(files_[s], mine, other, *panes_[s]);
  panes_[s]->end();
}

void DiffViewer_Impl::setupDirnames() {
  dirParts_ = dv_DirectoryParts(orNull(sides_.name[0]), orNull(sides_.name[1]));
}

// The name field, the version field (or "File on disk"), the spin buttons
// and the gutter width of one side.
void DiffViewer_Impl::setupFile(bool right) {
  int s = right;
  const std::string& name = sides_.name[s];
  TextField* nameField = right ? tf_filename_right : tf_filename_left;
  nameField->setText(dv_FileLabel(name.c_str(), dirParts_, right).c_str());
  char* full = gen_expand_filename(name.c_str());
  nameField->setToolTip(full);
  gen_free(full);
  bool underVC = vc_UnderVC(name.c_str());
  setupVersionField(right, underVC);
  if (right) showVersionInfo();
  setupSpinButtons(right, underVC);
  setGutterWidth(right, align_GutterWidth(files_[s]->lineCount, font_n));
}

// The right side's check-in record in the comment pane: "<version>) <author>
// <date>", a rule, then the comment; hidden for anything but a revision.
void DiffViewer_Impl::showVersionInfo() {
  VersionInfo info;
  bool shown = sides_.hasVersion(1) && files_[1]->versionLabel &&
               vc_GetVersionInfo(sides_.name[1].c_str(), sides_.version[1].c_str(), &info, true);
  commentsShown_.clear();
  showComments(shown);
  if (!shown) return;
  commentsShown_ = info.version + ") " + info.author + " " + info.date + " | ";
  commentsShown_ += info.comments.substr(0, info.comments.find('\n'));
  dv_ShowCheckIn(comments_.get(), info.version, info.author, info.date, info.comments);
}

// The version asked for, the date (labelled "Date", no stepping), the
// working file's local label, or "File on disk" outside version control.
void DiffViewer_Impl::setupVersionField(bool right, bool underVC) {
  int s = right;
  TextField* versionField = right ? tf_version_right : tf_version_left;
  if (sides_.hasVersion(s) && files_[s]->versionLabel) {
    showFileOnDisk(right, false);
    versionField->setText(sides_.version[s].c_str());
  } else if (sides_.hasDate(s)) {
    showFileOnDisk(right, false);
    (right ? txt_version_right : txt_version_left)->setText("Date");
    versionField->setText(sides_.date[s].c_str());
    (right ? spin_right : spin_left)->hide();
  } else if (underVC) {
    showFileOnDisk(right, false);
    char* local = get_local_version(sides_.name[s].c_str());
    versionField->setText(sides_.hasVersion(s) ? sides_.version[s].c_str() : local);
    gen_free(local);
  } else {
    showFileOnDisk(right, true);
  }
}

// Outside version control there is nothing to ask (and no complaint).
void DiffViewer_Impl::setupSpinButtons(bool right, bool underVC) {
  const char* name = sides_.name[right].c_str();
  const char* version = orNull(sides_.version[right]);
  char* previous = underVC ? vc_GetPreviousVersion(name, version) : nullptr;
  char* next = underVC && version ? vc_GetNextVersion(name, version) : nullptr;
  (right ? spin_right_Previous : spin_left_Previous)->setDimmed(!previous);
  (right ? spin_right_Next : spin_left_Next)->setDimmed(!next);
  gen_free(previous);
  gen_free(next);
}

// ---- re-loading ----

bool DiffViewer_Impl::reloadFile(bool reloadLeft, bool reloadRight, bool addToList, int line) {
  if (!reloadLeft && !reloadRight) return false;
  // The pair being replaced keeps where the user was in the list.
  if (addToList) saveShownPosition();
  bool reload[2] = {reloadLeft, reloadRight};
  file* kept[2] = {files_[0], files_[1]};
  for (int s = 1; s >= 0; s--) {
    if (!reload[s]) continue;
    dropUnknownVersion(s);
    if (!loadSide(s)) {
      for (int t = 0; t < 2; t++)
        if (files_[t] != kept[t]) freeLoadedFile(files_[t]), files_[t] = kept[t];
      return false;
    }
  }
  // A side that stays keeps its file when the old record goes.
  if (!reload[0]) comparison_->file1 = nullptr;
  if (!reload[1]) comparison_->file2 = nullptr;
  calculateDiff();
  setupDirnames();
  for (int s = 0; s < 2; s++)
    if (reload[s]) setupFile(s);
  layAllRows();
  if (addToList) addFileListEntry(sides_, true, line);
  else setFileListEntryCount(-1, true);
  showCurrentDiff(line);
  return true;
}

void DiffViewer_Impl::loadNewDiff(const char* leftName, const char* leftVersion,
                                  const char* leftDate, const char* rightName,
                                  const char* rightVersion, const char* rightDate,
                                  loadType type, int line) {
  DiffSides wanted;
  wanted.name[0] = orEmpty(leftName), wanted.name[1] = orEmpty(rightName);
  wanted.version[0] = orEmpty(leftVersion), wanted.version[1] = orEmpty(rightVersion);
  wanted.date[0] = orEmpty(leftDate), wanted.date[1] = orEmpty(rightDate);
  if (type == AddOnly) {
    addFileListEntry(wanted, false, line);
    return;
  }
  if (wanted == sides_) {
    reloadFile(sides_.fromDisk(0), sides_.fromDisk(1), false, view_left->getFirstLine());
    return;
  }
  DiffSides old = sides_;
  sides_ = wanted;
  painted_ = false;  // the new pair's first paint is published again
  paintBase_ = view_left->getPaintCount();
  if (!reloadFile(true, true, type == ShowAndAdd, line)) sides_ = old;
}

// ---- rows and sides ----

int DiffViewer_Impl::convertVirtualLine(WTextView* view, int row) {
  if (view == view_left) return align_ConvertVirtualLine(comparison_->colors1, row);
  if (view == view_right) return align_ConvertVirtualLine(comparison_->colors2, row);
  return row;
}

int DiffViewer_Impl::inVirtualRange(WTextView* view, int row) {
  if (view == view_left) return align_InVirtualRange(comparison_->colors1, row);
  if (view == view_right) return align_InVirtualRange(comparison_->colors2, row);
  return -1;
}

file* DiffViewer_Impl::fileFromView(WTextView* view) {
  if (view == view_left) return files_[0];
  if (view == view_right) return files_[1];
  return nullptr;
}

const char* DiffViewer_Impl::filenameFromView(WTextView* view) {
  if (!comparison_) return nullptr;
  if (view == view_left) return comparison_->name1;
  if (view == view_right) return comparison_->name2;
  return nullptr;
}

void DiffViewer_Impl::showMessage(const char* text) {
  message_ = text ? text : "";
  if (window) cwSetMsg(window, text, 0);
  publishState();
}

// ---- the request entry points open windows of these classes ----

namespace {

DiffViewer* openViewer(const char* file1, const char* version1, const char* date1,
                       const char* file2, const char* version2, const char* date2,
                       int options) {
  auto* viewer = new DiffViewer_Impl(file1, version1, date1, file2, version2, date2, options);
  if (viewer->isOpened()) return viewer;
  delete viewer;
  return nullptr;
}

void openChooser(const char* file1, const char* file2, bool reuse, const char* workingDir,
                 int options) {
  DiffFileChooser_open(file1, nullptr, file2, nullptr, reuse, workingDir, options);
}

}  // namespace

void DiffViewer_registerOpeners() {
  diffViewerOpeners.openViewer = openViewer;
  diffViewerOpeners.openChooser = openChooser;
}

// A spin button steps one side through its versions; every step is a new
// comparison in the list.  "Next" from the newest version does nothing:
// the buttons never return a side to the working file.
void DiffViewer_Impl::spinVersion(bool right, bool next) {
  int s = right;
  const char* name = sides_.name[s].c_str();
  const char* version = orNull(sides_.version[s]);
  char* step = next ? vc_GetNextVersion(name, version) : vc_GetPreviousVersion(name, version);
  if (!step) return;
  showFileOnDisk(right, false);
  sides_.version[s] = step;
  gen_free(step);
  painted_ = false;  // the step's first paint is published
  paintBase_ = view_left->getPaintCount();
  WTextView* other = right ? view_left : view_right;
  reloadFile(!right, right, true, other->getFirstLine());
}
