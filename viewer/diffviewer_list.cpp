// The window's list of comparisons: one row per pair, the shown pair
// marked in the toggle column, each entry remembering where the user was
// when another pair was shown.
#include <algorithm>

#include "config/config_vars.h"
#include "diff/diff.h"
#include "gui/core/fonts.h"
#include "gui/lists/mscroll_list.h"
#include "gui/text/textview.h"
#include "gui/widgets/static_text.h"
#include "viewer/diffviewer_impl.h"
#include "viewer/file_list_entry.h"

namespace {

enum Column { kToggle, kLeft, kLeftVersion, kRight, kRightVersion, kCount, kColumns };

FileListEntry* entryAt(const MScrollList* list, int row) {
  return static_cast<FileListEntry*>(list->getUserData(row));
}

const char* const kListCommands[] = {"d|Control=Cli Remove", "\"Delete\"=Cli Remove"};

}  // namespace

void DiffViewer_Impl::addFileListEntry(const DiffSides& s, bool shown, int line) {
  auto* entry = new FileListEntry(s.name[0].c_str(), s.version[0].c_str(), s.name[1].c_str(),
                                  s.version[1].c_str(), line);
  entry->leftDate = s.date[0], entry->rightDate = s.date[1];
  // A dated state is named by its date, as a version by its name.
  const char* left = s.hasDate(0) ? s.date[0].c_str() : entry->leftVersionOrNull();
  const char* right = s.hasDate(1) ? s.date[1].c_str() : entry->rightVersionOrNull();
  std::string cells[kColumns] = {
      "",
      dv_FileLabel(s.name[0].c_str(), dirParts_, false),
      dv_VersionLabel(s.name[0].c_str(), left),
      dv_FileLabel(s.name[1].c_str(), dirParts_, true),
      dv_VersionLabel(s.name[1].c_str(), right),
      dv_CountLabel(diffCount(), shown),
  };
  const char* texts[kColumns];
  for (int c = 0; c < kColumns; c++) texts[c] = cells[c].c_str();
  int row = filelist->appendRow(texts, kColumns, entry);
  fitListColumns(cells[kLeftVersion], cells[kRightVersion]);
  listStarted_ = true;
  // The pair just loaded is the one displayed: it is marked without being
  // loaded again through the click path.
  if (shown) markShown(row);
  publishState();
}

// The version columns fit their labels (never narrowing once the list has
// rows), the name columns share what is left of half the editor width.
void DiffViewer_Impl::fitListColumns(const std::string& leftVersion,
                                     const std::string& rightVersion) {
  int half = font_n * EditWidth / 2;
  const std::pair<int, const std::string*> versions[] = {{kLeftVersion, &leftVersion},
                                                         {kRightVersion, &rightVersion}};
  for (const auto& [column, label] : versions) {
    int wanted = st_textWidth(*label) + 16;
    if (listStarted_) wanted = std::max(wanted, filelist->getColumnWidth(column));
    filelist->setColumnWidth(column, wanted);
  }
  filelist->setColumnWidth(kToggle, 20);
  filelist->setColumnWidth(kCount, 5 * font_n + 2 * MScrollList::kCellPadding);  // "Diffs"
  filelist->setColumnWidth(kLeft, half - filelist->getColumnWidth(kLeftVersion));
  filelist->setColumnWidth(kRight, half - filelist->getColumnWidth(kRightVersion) -
                                       filelist->getColumnWidth(kCount) -
                                       MScrollList::kScrollBarWidth);
}

void DiffViewer_Impl::markShown(int row) {
  for (int r = 0; r < filelist->getRowCount(); r++) {
    FileListEntry* entry = entryAt(filelist, r);
    if (entry->shown == (r == row)) continue;
    entry->shown = r == row;
    filelist->redrawCell(r, kToggle);
  }
  filelist->setSelectedRow(row, false);
  filelist->scrollToRow(row);
}

bool DiffViewer_Impl::showsEntry(const FileListEntry& e) const {
  return sides_.name[0] == e.leftName && sides_.name[1] == e.rightName &&
         sides_.version[0] == e.leftVersion && sides_.version[1] == e.rightVersion &&
         sides_.date[0] == e.leftDate && sides_.date[1] == e.rightDate;
}

void DiffViewer_Impl::saveShownPosition() {
  for (int r = 0; r < filelist->getRowCount(); r++) {
    FileListEntry* entry = entryAt(filelist, r);
    if (!entry->shown) continue;
    entry->savedRow = view_left->getFirstLine();
    entry->savedCurrent = currentIndex();
  }
}

void DiffViewer_Impl::setFileListEntryCount(int row, bool known) {
  if (row < 0)
    for (int r = 0; r < filelist->getRowCount() && row < 0; r++)
      if (entryAt(filelist, r)->shown) row = r;
  if (row < 0) return;
  filelist->setCellText(row, kCount, dv_CountLabel(diffCount(), known).c_str());
}

void DiffViewer_Impl::configureMsl() {
  filelist->setUserDataCleanup(FileListEntry::CleanupUserData);
  mslCompileCommands(filelist, kListCommands, 2);
  toggler_ = std::make_unique<MScrollListAutoToggler>(filelist, std::vector<int>{kToggle}, this);
  for (int r = 0; r < filelist->getRowCount(); r++) filelist->redrawCell(r, kToggle);
}

// Shows the row's pair where the user left it.  A single click counts only
// on the toggle column and from the mouse; double clicks and the toggler
// always go on.
void DiffViewer_Impl::filelist_handleSingleClick(int row, int column, int clicks,
                                                 xinLibSt* e) {
  if (clicks == 1 && (column != kToggle || (e && e->type == WEV_KEY))) return;
  FileListEntry* entry = entryAt(filelist, row);
  if (!entry || entry->shown) return;
  saveShownPosition();
  int wasShown = -1;
  for (int r = 0; r < filelist->getRowCount(); r++) {
    FileListEntry* other = entryAt(filelist, r);
    if (!other->shown) continue;
    other->shown = false;
    wasShown = r;
    filelist->redrawCell(r, kToggle);
  }
  entry->shown = true;
  loadNewDiff(entry->leftName.c_str(), entry->leftVersionOrNull(), entry->leftDateOrNull(),
              entry->rightName.c_str(), entry->rightVersionOrNull(), entry->rightDateOrNull(),
              ShowOnly, entry->savedRow);
  if (!showsEntry(*entry) && wasShown >= 0) {
    // The pair could not be loaded (the message line says why): the list
    // keeps showing the pair that is still displayed.
    entry->shown = false;
    entryAt(filelist, wasShown)->shown = true;
    filelist->redrawCell(wasShown, kToggle);
    publishState();
    return;
  }
  setRange(entry->savedCurrent);
  filelist->redrawCell(row, kToggle);
  setFileListEntryCount(row, true);
  publishState();
}

void DiffViewer_Impl::filelist_handleDoubleClick(int row, int, int clicks, xinLibSt* e) {
  filelist_handleSingleClick(row, kToggle, clicks, e);
}

void DiffViewer_Impl::handleToggle(MScrollList*, int row, int column) {
  FileListEntry* entry = entryAt(filelist, row);
  if (entry && !entry->shown) filelist_handleDoubleClick(row, column, 2, nullptr);
}

bool DiffViewer_Impl::isMSLCellOn(const MScrollList* list, int row, int) {
  FileListEntry* entry = entryAt(list, row);
  return entry && entry->shown;
}

void DiffViewer_Impl::handleMSLClicks(MScrollList*, int row, int column, int clicks,
                                      xinLibSt* event) {
  filelist_handleSingleClick(row, column, clicks, event);
}

int DiffViewer_Impl::filelist_handleCli(CmdInfo* info) {
  if (std::string(info->command) == "Remove") removeSelectedEntry();
  return MSL_CMD_HANDLED;
}

// The last row stays: a window always has a pair to show.  Removing the
// shown row displays the row that takes its place.
int DiffViewer_Impl::removeSelectedEntry() {
  int row = filelist->getSelectedRow();
  int count = filelist->getRowCount();
  if (row < 0 || count < 2) return MSL_CMD_HANDLED;
  bool wasShown = entryAt(filelist, row)->shown;
  filelist->deleteRow(row);
  int next = std::min(row, filelist->getRowCount() - 1);
  filelist->setSelectedRow(next, false);
  if (wasShown) filelist_handleSingleClick(next, kToggle, 1, nullptr);
  publishState();
  return MSL_CMD_HANDLED;
}
