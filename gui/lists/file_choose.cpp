// The file choice dialogue: building its widgets, filling the listing and
// the recent directories, and what clicks, Enter and the buttons do.
#include "gui/lists/file_choose.h"

#include "base/gen.h"
#include "gui/lists/file_choose_history.h"
#include "gui/lists/mscroll_list.h"
#include "gui/widgets/alert.h"
#include "gui/widgets/button.h"
#include "gui/widgets/text_field.h"

namespace {

constexpr int kWidth = 560, kHeight = 420;
constexpr int kRecentWidth = 170;
constexpr int kButtonRowHeight = 40;
constexpr int kAccept = 0, kCancel = 1;

// Enter opens the selected entry; BackSpace climbs to the parent.
const char* const kListingCommands[] = {"\"Return\"=Cli Open", "\"KP_Enter\"=Cli Open",
                                        "\"BackSpace\"=Cli Up"};

std::string shownName(const FileChooseEntry& e) {
  return e.directory && e.name != ".." ? e.name + "/" : e.name;
}

}  // namespace

FileChooseDialogue::FileChooseDialogue(ColWind* parent, const char* title, const char* startDir,
                                       bool, const char* filter, const char* acceptLabel,
                                       const char* historyGroup)
    : WDialog(parent, title ? title : "Choose File", title ? title : "Choose File", kWidth,
              kHeight),
      filter_(filter ? filter : ""),
      group_(historyGroup ? historyGroup : "") {
  setResults(kAccept, kCancel);
  if (!window()) return;
  build(acceptLabel);
  fillRecent();
  dir_ = fc_startDirectory(startDir);
  if (!enterDirectory(dir_)) enterDirectory("/");
}

void FileChooseDialogue::build(const char* acceptLabel) {
  int m = kMargin;
  int fieldHeight = TextField::preferredHeight();
  field_ = new TextField(window(), DrawRect{m, m, kWidth - 2 * m, fieldHeight});
  field_->setTrimSpaces(true);
  field_->setAutoCompleteFile(true);
  field_->setEnterCallback(fieldEnter);
  int top = 2 * m + fieldHeight;
  int listHeight = kHeight - top - kButtonRowHeight - 2 * m;
  recent_ = new MScrollList(window(), DrawRect{m, top, kRecentWidth, listHeight}, 1);
  recent_->showHeader(true);
  recent_->setColumnLabel(0, "Recent");
  recent_->setColumnWidth(0, kRecentWidth);
  recent_->setSingleClickCallback(recentClick);
  int left = 2 * m + kRecentWidth;
  listing_ = new MScrollList(window(), DrawRect{left, top, kWidth - left - m, listHeight}, 1);
  listing_->showHeader(true);
  listing_->setColumnLabel(0, "Name");
  listing_->setColumnWidth(0, kWidth - left - m);
  listing_->setSingleClickCallback(listingClick);
  listing_->setDoubleClickCallback(listingOpen);
  listing_->setCommandHandler(listingCommand);
  listing_->compileCommands(kListingCommands, 3);
  listing_->activateMe();
  addButtonRow({acceptLabel && *acceptLabel ? acceptLabel : "Select", "Cancel"});
}

void FileChooseDialogue::fillRecent() {
  recent_->deleteAllRows();
  for (const std::string& d : fc_recentDirectories(group_.c_str())) {
    const char* cell = d.c_str();
    recent_->appendRow(&cell, 1);
  }
}

bool FileChooseDialogue::enterDirectory(const std::string& dir) {
  std::string d = fc_normalise(dir);
  std::vector<FileChooseEntry> found;
  if (!fc_listDirectory(d, filter_.c_str(), &found)) {
    gui_Alert(window(), ("Cannot read the directory " + d).c_str());
    return false;
  }
  dir_ = d;
  entries_ = found;
  if (!listing_) return true;
  listing_->deleteAllRows();
  for (const FileChooseEntry& e : entries_) {
    std::string name = shownName(e);
    const char* cell = name.c_str();
    listing_->appendRow(&cell, 1);
  }
  listing_->scrollToRow(0);
  field_->setText(d == "/" ? "/" : (d + "/").c_str());
  return true;
}

void FileChooseDialogue::acceptPath(const std::string& typed) {
  if (typed.empty()) return;
  std::string path = typed[0] == '/' ? typed : fc_join(dir_, typed);
  if (fc_isDirectory(path)) {
    enterDirectory(path);
    return;
  }
  std::string parent = fc_parent(path);
  if (!fc_isDirectory(parent)) {
    gui_Alert(window(), ("No such directory: " + parent).c_str());
    return;
  }
  chosen_ = fc_join(parent, path.substr(path.rfind('/') + 1));
  fc_rememberDirectory(group_.c_str(), parent);
  finish(kAccept);
}

char* FileChooseDialogue::choose() {
  chosen_.clear();
  if (run() != kAccept || chosen_.empty()) return nullptr;
  return gen_copy(chosen_.c_str());
}

bool FileChooseDialogue::acceptDefault() {
  if (field_) acceptPath(field_->getText());
  return true;
}

void FileChooseDialogue::buttonChosen(int index) {
  if (index == kAccept) acceptDefault();
  else finish(kCancel);
}

// ---- callbacks -------------------------------------------------------------------

FileChooseDialogue* FileChooseDialogue::of(WWindowedItem* item) {
  ColWind* top = item ? item->getTopLevel() : nullptr;
  return top ? dynamic_cast<FileChooseDialogue*>(static_cast<WDialog*>(top->returnData))
             : nullptr;
}

void FileChooseDialogue::open(int row) {
  if (row < 0 || row >= static_cast<int>(entries_.size())) return;
  FileChooseEntry e = entries_[row];
  if (e.directory) enterDirectory(fc_join(dir_, e.name));
  else acceptPath(fc_join(dir_, e.name));
}

void FileChooseDialogue::listingClick(MScrollList* list, int row, int, int, xinLibSt*) {
  FileChooseDialogue* d = of(list);
  if (!d || row < 0 || row >= static_cast<int>(d->entries_.size())) return;
  const FileChooseEntry& e = d->entries_[row];
  std::string path = fc_join(d->dir_, e.name);
  d->field_->setText(e.directory && path != "/" ? (path + "/").c_str() : path.c_str());
}

void FileChooseDialogue::listingOpen(MScrollList* list, int row, int, int, xinLibSt*) {
  if (FileChooseDialogue* d = of(list)) d->open(row);
}

int FileChooseDialogue::listingCommand(MScrollList* list, CmdInfo* info) {
  FileChooseDialogue* d = of(list);
  if (!d) return 0;
  std::string command = info->command;
  if (command == "Open") d->open(list->getSelectedRow());
  else if (command == "Up") d->enterDirectory(fc_parent(d->dir_));
  else return 0;
  return MSL_CMD_HANDLED;
}

void FileChooseDialogue::recentClick(MScrollList* list, int row, int, int, xinLibSt* e) {
  FileChooseDialogue* d = of(list);
  if (!d || !e || e->type != WEV_MOUSE) return;  // keys only move through the list
  d->enterDirectory(list->getCellText(row, 0));
}

void FileChooseDialogue::fieldEnter(TextField* field) {
  if (FileChooseDialogue* d = of(field)) d->acceptPath(field->getText());
}

char* gui_ChooseFile(ColWind* parent, const char* title, const char* startDir,
                     const char* filter, const char* acceptLabel, const char* historyGroup) {
  FileChooseDialogue dialog(parent, title, startDir, true, filter, acceptLabel, historyGroup);
  return dialog.choose();
}
