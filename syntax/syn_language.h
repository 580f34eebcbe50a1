// One language as loaded from its definition file: its words, delimiters,
// number forms, colours and separator tables, and the line scanners that
// colour text with them.  The definition reader fills the fields and
// `Finish` prepares the tables; after that a language is only read, except
// for the working fields the scanners keep while they run over a line.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "syntax/syn_colors.h"
#include "syntax/syn_language_interface.h"

// A begin and end delimiter.  A begin written with a leading 0x01 matches
// only at the start of a line, an end written with a trailing 0x02 only at
// its end; the marks are kept as flags, not as text.
struct synDelimiterPair {
  std::string begin;
  std::string end;
  bool spanLines = false;
  bool beginAtLineStart = false;
  bool endAtLineEnd = false;
};

// A line-comment leader; one written with a leading 0x01 counts only at the
// start of a line.
struct synLeader {
  std::string text;
  bool atLineStart = false;
};

// A sorted word list searched by bisection.  Sort also notes the words'
// first characters and lengths, so that most words are rejected at once.
struct synWordList {
  explicit synWordList(bool cs = true) : caseSensitive(cs) {}
  std::vector<std::string> words;
  bool caseSensitive = true;
  void Sort();
  bool Contains(const char* word, int length) const;

 private:
  bool first_[256] = {};
  size_t shortest_ = 0, longest_ = 0;
};

struct synCompletion {
  int algorithm = SYN_MATCH_BEST;
  int maxMatch = 10;
  int minStringLength = 1;
  char nameValueSeparator = ';';
  bool enabled = true;
  bool grabPrototype = false;
  bool showPrototype = false;
  std::vector<std::string> extraNames;
  std::vector<std::string> names;  // the completion set, built by Finish
};

class synLanguage : public synLanguageInterface {
 public:
  enum Kind {
    KIND_C = 0, KIND_CPP = 1, KIND_ADA = 2, KIND_PASCAL = 3, KIND_FORTRAN = 4,
    KIND_JAVA = 5, KIND_QEN_CONFIG = 6, KIND_PERL = 7, KIND_OTHER = 8
  };
  static constexpr int MAX_CONSTANT_PAIRS = 2;  // strings and characters

  explicit synLanguage(bool none = false);
  ~synLanguage() override;

  // The kind of language a name stands for.
  static int KindFromName(const std::string& name);
  // Sorts the lists and builds the separator tables, the preprocessor
  // leader, the word buffer and the kind (called once, after loading).
  void Finish();

  // ---- loaded fields ----
  int kind = KIND_OTHER;
  std::string fileName;
  std::string version;
  int errorCount = 0;
  std::string name, description, firstLinePattern;
  std::vector<std::string> extensions;
  bool caseSensitive = true;
  int escape = -1;  // the escape character, or -1
  bool pascalStylePriority = false;

  synWordList keywords;
  synColor keywordColor;
  bool keywordCompletion = true;

  synWordList preprocessor;
  synColor preprocessorColor;
  bool preprocessorCompletion = true;
  bool preprocessorCaseGiven = false;
  int leader = 0;  // the preprocessor leader character, or 0

  std::vector<synDelimiterPair> comments;
  synColor commentColor;
  std::vector<synLeader> lineComments;
  synColor lineCommentColor;
  std::vector<synDelimiterPair> strings;
  synColor stringColor;
  std::vector<synDelimiterPair> characters;
  synColor characterColor;
  std::vector<synDelimiterPair> blocks;
  synColor blockColor;

  bool integersOn = false;
  bool integerHex = false;
  synWordList decimalSuffixes{false};
  synWordList hexSuffixes{false};
  synColor integerColor;

  bool floatsOn = false;
  bool floatScientific = true;
  synWordList floatSuffixes{false};
  synColor floatColor;

  synWordList customizedWords;
  std::vector<std::string> customizedPatterns;
  synColor customizedColor;
  bool customizedCompletion = true;

  synCompletion completion;

  bool separator[256] = {};
  bool plainSeparator[256] = {};
  // Characters that may begin a delimited item away from the line start.
  bool itemStart[256] = {};
  size_t wordBufferSize = 1;

  // ---- synLanguageInterface ----
  bool IsNone() const override { return none_; }
  bool IsC() const override { return kind == KIND_C; }
  bool IsCPP() const override { return kind == KIND_CPP; }
  bool IsPascal() const override { return kind == KIND_PASCAL; }
  bool IsAda() const override { return kind == KIND_ADA; }
  bool SupportAutoIndent() const override { return !none_; }
  bool SupportCommentBlock() const override { return !comments.empty(); }
  int GetPreprocessorLeader() const override { return leader; }
  const char* GetLineCommentLeader() const override;
  const char* LanguageName() const override { return name.c_str(); }

  bool GetAutoCompletionFlag() const override { return completion.enabled; }
  void SetAutoCompletionFlag(bool on) override { completion.enabled = on; }
  bool GetShowPrototype() const override { return completion.showPrototype; }
  void SetShowPrototype(bool on) override { completion.showPrototype = on; }
  bool GetAutoGrabPrototype() const override { return completion.grabPrototype; }
  void SetAutoGrabPrototype(bool on) override { completion.grabPrototype = on; }
  int GetAutoCompleteAlgorithm() const override { return completion.algorithm; }
  void SetAutoCompleteAlgorithm(int a) override { completion.algorithm = a; }
  int GetMinStrLengthForAutocompletion() const override {
    return completion.minStringLength;
  }
  void SetMinStrLengthForAutocompletion(int n) override {
    completion.minStringLength = n;
  }
  int GetMaxObjectNumberForAutocompletion() const override {
    return completion.maxMatch;
  }
  void SetMaxObjectNumberForAutocompletion(int n) override {
    completion.maxMatch = n;
  }
  bool IsKeywordCaseSensitive() const override { return caseSensitive; }

  void Reset(bool clearCommentStart, int tokenStart) override;
  void SetOpenPairIndex(int index) override { pairIndex_ = index; }
  int FindWordStart(const char* text, int position) const override;
  int FindWordEnd(const char* text, int position, int length) const override;
  int FindSyntaxWordEnd(const char* text, int position, int length) const override;
  void FindWordExtents(const char* text, int position, int length, int* start,
                       int* end) const override;
  bool IsSeparator(int c) const override { return separator[c & 0xff]; }
  bool IsSafeSeparator(int c) const override { return plainSeparator[c & 0xff]; }
  bool IsUnsafeSeparator(int c) const override {
    return separator[c & 0xff] && !plainSeparator[c & 0xff];
  }

  synState FindSyntaxStatus(synState state, const char* text, int position,
                            int length, int* tokenLength,
                            const ExtraSyntaxInfoInterface* extra) override;
  int FinishSyntaxStatus(synState state, const char* text, int position,
                         int length, bool* closed) override;
  void GetColorForStatus(synState status, synPixel* foreground,
                         synPixel* background) const override;
  synState GetPureSyntaxStatus(synState status) const override {
    return ::GetPureSyntaxStatus(status);
  }
  void QuickLineParser(synState* state, uint32_t condition, const char* text,
                       int length, uint32_t* nextCondition) override;
  int GetSyntaxElementStartPosition(synState state, const char* text,
                                    int position, int length) override;
  synState CalculateTextSynstate(synState startState, const char* text, int from,
                                 int to, int length, bool everyPiece,
                                 synRunCallback callback, void* context,
                                 const ExtraSyntaxInfoInterface* extra) override;

  bool IsInComment(synState s) const override { return s & SYN_COMMENT; }
  bool IsInLineComment(synState s) const override { return s & SYN_LINE_COMMENT; }
  bool IsInString(synState s) const override {
    return s & (SYN_STRING | SYN_STRING2);
  }
  bool IsInChar(synState s) const override {
    return s & (SYN_CHARACTER | SYN_CHARACTER2);
  }
  bool IsDeadcode(synState s) const override { return s & SYN_DEAD_CODE; }
  char* GetNameForSynstate(synState s) const override {
    return ::GetNameForSynstate(s);
  }
  bool IsValidForHeadFile() const override { return IsC() || IsCPP(); }
  bool IsValidForParenthesisMatching() const override { return !none_; }
  ExtraSyntaxInfoInterface* LoadSyntaxInfo(const char* file, int kind) override;

  // ---- scanner pieces shared by the colourer and the quick parser ----
  // A delimited item (block, comment, line comment, string, character)
  // beginning at `position`: its class bit, pair index and end.
  struct Item {
    synState cls = 0;
    int pair = 0;
    int end = 0;
    bool closed = false;
  };
  bool MatchDelimitedItem(const char* text, int position, int length,
                          Item* item) const;
  // End of an item of class `cls` and pair `pair` whose text starts at
  // `position`; *closed tells whether its end delimiter is on the line.
  int FindItemEnd(synState cls, int pair, const char* text, int position,
                  int length, bool* closed) const;
  bool LineCommentsActive() const;
  int pairIndex() const { return pairIndex_; }

 private:
  bool none_;
  // Working fields of the scanners.
  int pairIndex_ = 0;
  int tokenStart_ = 0;
  int commentStart_ = 0;
  std::string wordBuffer_;
  bool tokenClosed_ = true;  // whether the last token found ended on its line
  int wordFrom_ = -1;        // the word FindSyntaxStatus last looked at
  int wordEnd_ = 0;

  bool MatchPreprocessorWord(const char* text, int position, int wordEnd);
  bool MatchKeyword(const char* text, int position, int wordEnd, int length) const;
  bool MatchCustomized(const char* text, int position, int wordEnd, int length,
                       const ExtraSyntaxInfoInterface* extra) const;
  bool IsMemberAccess(const char* text, int position, int wordEnd, int length) const;
  synState FindNumber(const char* text, int position, int wordEnd, int length) const;
  int PlainRunEnd(synState state, const char* text, int position, int end,
                  int length) const;
  void SortLists();
  void BuildCompletionSet();
  void BuildSeparators();
  void MarkItemStarts();
  void FindPreprocessorLeader();
  // Quick parser pieces: the item open at the end of the line's text, and
  // whether it stays open past the line end.
  synState ScanOpenItem(synState open, int* pair, const char* text, int length) const;
  synState CloseAtLineEnd(synState open, int pair, const char* text, int length) const;
};
