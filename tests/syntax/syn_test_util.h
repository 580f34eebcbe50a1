// Helpers of the syntax tests: languages built from definition text,
// captured messages, temporary files, and lines rendered as readable runs
// ("K:int|.: |S:\"x\"") so that expectations read like the coloured text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "syntax/syn_language.h"
#include "syntax/syntax.h"
#include "test_support.h"

namespace syntest {

// Captures the program's messages while alive (and keeps them quiet).
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  const std::string& text() const { return text_; }

 private:
  static int Capture(int code, const char* format, va_list args);
  static MessageCapture* active_;
  void* previous_;
  std::string text_;
};

// A scratch directory whose path reads as a string.
class TempDir : public test_support::ScratchDir {
 public:
  std::string path() const { return ScratchDir::path().string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    return write(name, text);
  }
};

// A language built from definition text; null when it has none.
std::unique_ptr<synLanguage> Build(const std::string& definition,
                                   MessageCapture* messages = nullptr);
// The shipped definitions' directory.
std::string ShippedDir();

// The runs of a line as "letter:text" joined by "|", one letter per class:
// K keyword, P preprocessor, C comment, L line comment, S/s string pairs,
// H/h character pairs, B block, I integer, F float, U customized, D
// disabled code, "." plain.
std::string Render(synLanguageInterface* language, const std::string& line,
                   synLineStart start = {}, bool everyPiece = false,
                   synState* end = nullptr);
// Renders each line of a text, carrying start states with the quick parser.
std::vector<std::string> RenderLines(synLanguageInterface* language,
                                     const std::vector<std::string>& lines);
// The start states of each line of a text.
std::vector<synLineStart> StartStates(synLanguageInterface* language,
                                      const std::vector<std::string>& lines);

}  // namespace syntest
