// The file chooser: a small dialog ("Choose two files") in which the user
// names the left and right files and, optionally, their versions before a
// viewer opens.  It owns itself and goes with its window; while it is open
// it counts as an open viewer.
#pragma once

#include <string>

#include "gui/core/generated_window.h"
#include "gui/core/placer.h"

class ColWind;
class TextField;
class WButton;
class WButtonSet;
class WStaticText;

class DiffFileChooser_GUI : public WGeneratedWindow {
 public:
  DiffFileChooser_GUI() = default;

  WStaticText* text_t = nullptr;
  WStaticText* text_l = nullptr;
  TextField* filename_l = nullptr;
  WButton* choose_file_l = nullptr;
  TextField* version_l = nullptr;
  WButton* choose_version_l = nullptr;
  WStaticText* text_r = nullptr;
  TextField* filename_r = nullptr;
  WButton* choose_file_r = nullptr;
  TextField* version_r = nullptr;
  WButton* choose_version_r = nullptr;
  WStaticText* dummy_text = nullptr;
  WButtonSet* spin_l = nullptr;
  WButtonSet* spin_r = nullptr;
  WButtonSet* action = nullptr;

  // A new size lays the dialog out again; Escape cancels; Tab moves
  // between the fields.
  void CallEvent(xinLibSt* event) override;

  virtual void handle_action_Diff() {}
  virtual void ChooseLeftVersion() {}
  virtual void SpinLeftPrevious() {}
  virtual void ChooseLeftFile() {}
  virtual void SpinLeftNext() {}
  virtual void ChooseRightVersion() {}
  virtual void SpinRightPrevious() {}
  virtual void handle_action_Cancel() {}
  virtual void SpinRightNext() {}
  virtual void ChooseRightFile() {}

  void layout(int width, int height);

 private:
  WPlacer placer_;  // the arrangement, as rules (diff_chooser.cpp)
  bool placed_ = false;
};

bool DiffFileChooser_create(DiffFileChooser_GUI* gui);

class DiffFileChooser_Impl : public DiffFileChooser_GUI {
 public:
  DiffFileChooser_Impl(const char* leftName, const char* leftVersion, const char* rightName,
                       const char* rightVersion, bool reuse, const char* workingDir,
                       int options);
  ~DiffFileChooser_Impl() override;

  void handle_action_Diff() override;
  void ChooseLeftVersion() override { ChooseVersion(filename_l, version_l); }
  void SpinLeftPrevious() override { SpinVersion(false, false); }
  void ChooseLeftFile() override { ChooseFile(filename_l, version_l); }
  void SpinLeftNext() override { SpinVersion(true, false); }
  void ChooseRightVersion() override { ChooseVersion(filename_r, version_r); }
  void SpinRightPrevious() override { SpinVersion(false, true); }
  void handle_action_Cancel() override { close(); }
  void SpinRightNext() override { SpinVersion(true, true); }
  void ChooseRightFile() override { ChooseFile(filename_r, version_r); }

  void ChooseFile(TextField* name, TextField* version);
  void ChooseVersion(TextField* name, TextField* version);
  void SpinVersion(bool next, bool right);

 private:
  void dimSpins(bool right);
  std::string joined(const std::string& name) const;

  bool reuse_;
  std::string workingDir_;
  bool hasWorkingDir_;
  int options_;
};

// Opens the chooser pre-filled with the names and versions.
void DiffFileChooser_open(const char* leftName, const char* leftVersion, const char* rightName,
                          const char* rightVersion, bool reuse, const char* workingDir,
                          int options);
