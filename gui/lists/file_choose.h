// The file choice dialogue: a path field on top, the recent directories of
// its history group on the left, the current directory's entries on the
// right (".." and the directories first), and the accept and "Cancel"
// buttons.  A double click (or Enter) on a directory enters it, on a file
// chooses it; a single click puts the entry's path into the field; the
// accept button, or Enter in the field, takes the field's path: a directory
// is entered, a file in an existing directory is chosen.
#pragma once

#include <string>
#include <vector>

#include "gui/lists/file_choose_dir.h"
#include "gui/widgets/dialog.h"

class MScrollList;
class TextField;
struct CmdInfo;

class FileChooseDialogue : public WDialog {
 public:
  // Starts in `startDir` (a file name starts in its directory); when that
  // cannot be read, in $HOME or the current directory.  Only single
  // selection is offered; `filter` is a list of patterns ("*", "*.c;*.h"),
  // null for all; the accept button says `acceptLabel` ("Select" when
  // null); `historyGroup` names the recent directories it shares.
  FileChooseDialogue(ColWind* parent, const char* title, const char* startDir,
                     bool singleSelection, const char* filter, const char* acceptLabel,
                     const char* historyGroup);

  // Waits for the user: the chosen path as a new string for the caller to
  // gen_free, or null when cancelled.  The chosen file's directory joins
  // the history group.
  char* choose();

  // Shows a directory; false (and an alert) when it cannot be read.
  bool enterDirectory(const std::string& dir);
  // What the accept button does with a path (relative to the directory).
  void acceptPath(const std::string& path);

  const std::string& directory() const { return dir_; }
  const std::vector<FileChooseEntry>& entries() const { return entries_; }
  MScrollList* listing() const { return listing_; }
  MScrollList* recentList() const { return recent_; }
  TextField* pathField() const { return field_; }

 protected:
  bool acceptDefault() override;
  void buttonChosen(int index) override;

 private:
  static FileChooseDialogue* of(WWindowedItem* item);
  static void listingClick(MScrollList* list, int row, int column, int clicks, xinLibSt* e);
  static void listingOpen(MScrollList* list, int row, int column, int clicks, xinLibSt* e);
  static int listingCommand(MScrollList* list, CmdInfo* info);
  static void recentClick(MScrollList* list, int row, int column, int clicks, xinLibSt* e);
  static void fieldEnter(TextField* field);
  void build(const char* acceptLabel);
  void fillRecent();
  void open(int row);

  std::string dir_;
  std::string filter_;
  std::string group_;
  std::string chosen_;
  std::vector<FileChooseEntry> entries_;
  MScrollList* listing_ = nullptr;
  MScrollList* recent_ = nullptr;
  TextField* field_ = nullptr;
};

// The dialogue in one call: the chosen path (gen_free) or null.
char* gui_ChooseFile(ColWind* parent, const char* title, const char* startDir,
                     const char* filter, const char* acceptLabel, const char* historyGroup);
