// Reading language files: the options database set up as the syntax files
// expect it, and the warnings met while reading one file, each printed on
// the message output and counted as an error of that file.
#pragma once

#include <string>

class ut_options_database;

// Defines the macros the files may use: _VORNE_DIR (the program's
// directory), LINE_START and LINE_END (the marks that bind a delimiter to
// the start or end of a line), and accepts brace lists.  Reading goes on
// past bad lines.
void syn_PrepareDatabase(ut_options_database* database);

class synReport {
 public:
  explicit synReport(const char* file) : file_(file ? file : "") {}
  // Prints one message (already in its final wording) and counts it.
  void Warn(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Prints without counting.
  void Say(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int count() const { return count_; }
  void AddErrors(int n) { count_ += n; }
  const char* file() const { return file_.c_str(); }

 private:
  std::string file_;
  int count_ = 0;
};
