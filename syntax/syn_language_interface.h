// The abstract language every colouring client holds: what kind of
// language it is, how it splits text into words, and the two line
// scanners: the colourer (one line into runs of equal class) and the quick
// parser (one line's start state into the next line's).
#pragma once

#include <cstdint>

#include "syntax/syn_colors.h"
#include "syntax/syn_state.h"

class synLanguageInterface;

// Extra customized words of one file, counted as customized words there.
class ExtraSyntaxInfoInterface {
 public:
  virtual ~ExtraSyntaxInfoInterface() = default;
  // True when text[0, length) is one of the file's extra words or matches
  // one of its extra patterns.
  virtual bool IsCustomizedWord(const char* word, int length,
                                bool caseSensitive) const = 0;
};

// Receives one run: text[start, start + count) of class `status`.
using synRunCallback = void (*)(synLanguageInterface* language, void* context,
                                const char* text, int start, int count,
                                synState status);

// Completion algorithms.
enum { SYN_MATCH_FIRST = 0, SYN_MATCH_BEST = 1 };

class synLanguageInterface {
 public:
  static constexpr synState NullMask = 0;

  virtual ~synLanguageInterface() = default;

  // ---- what the language is ----
  virtual bool IsNone() const = 0;  // the built-in "None" language
  virtual bool IsC() const = 0;
  virtual bool IsCPP() const = 0;
  virtual bool IsPascal() const = 0;
  virtual bool IsAda() const = 0;
  virtual bool SupportAutoIndent() const = 0;
  virtual bool SupportCommentBlock() const = 0;
  virtual int GetPreprocessorLeader() const = 0;          // 0 for none
  virtual const char* GetLineCommentLeader() const = 0;  // null for none
  virtual const char* LanguageName() const = 0;

  // ---- completion settings ----
  virtual bool GetAutoCompletionFlag() const = 0;
  virtual void SetAutoCompletionFlag(bool on) = 0;
  virtual bool GetShowPrototype() const = 0;
  virtual void SetShowPrototype(bool on) = 0;
  virtual bool GetAutoGrabPrototype() const = 0;
  virtual void SetAutoGrabPrototype(bool on) = 0;
  virtual int GetAutoCompleteAlgorithm() const = 0;  // SYN_MATCH_*
  virtual void SetAutoCompleteAlgorithm(int algorithm) = 0;
  virtual int GetMinStrLengthForAutocompletion() const = 0;
  virtual void SetMinStrLengthForAutocompletion(int length) = 0;
  virtual int GetMaxObjectNumberForAutocompletion() const = 0;
  virtual void SetMaxObjectNumberForAutocompletion(int count) = 0;
  virtual bool IsKeywordCaseSensitive() const = 0;

  // ---- words ----
  // Resets the working fields; the colourer calls it at each line start.
  // The pair index of an item left open by the previous line survives.
  virtual void Reset(bool clearCommentStart, int tokenStart) = 0;
  // Sets the pair index of the block (or string, character) the line
  // starts inside, from the line's condition word.
  virtual void SetOpenPairIndex(int index) = 0;
  virtual int FindWordStart(const char* text, int position) const = 0;
  // End of the run of non-separators from `position`.
  virtual int FindWordEnd(const char* text, int position, int length) const = 0;
  // End of the word from `position`, continuing across the number and
  // directive forms that join separators into one word; a separator alone
  // is a word of one character.
  virtual int FindSyntaxWordEnd(const char* text, int position,
                                int length) const = 0;
  virtual void FindWordExtents(const char* text, int position, int length,
                               int* start, int* end) const = 0;
  virtual bool IsSeparator(int c) const = 0;
  // A separator that begins no delimiter (skipped without further tests).
  virtual bool IsSafeSeparator(int c) const = 0;
  virtual bool IsUnsafeSeparator(int c) const = 0;

  // ---- the colourer ----
  // The class of the token at `position` in working state `state` (0 when
  // none) and its length in *tokenLength.
  virtual synState FindSyntaxStatus(synState state, const char* text,
                                    int position, int length, int* tokenLength,
                                    const ExtraSyntaxInfoInterface* extra) = 0;
  // Where the construct of `state`, open at `position`, ends; *closed
  // tells whether it ends within the line.
  virtual int FinishSyntaxStatus(synState state, const char* text, int position,
                                 int length, bool* closed) = 0;
  // Sets *foreground for a run's status (see the colour rules); leaves it
  // unchanged when colouring is off, bit 0 is set or it is null.
  virtual void GetColorForStatus(synState status, synPixel* foreground,
                                 synPixel* background) const = 0;
  virtual synState GetPureSyntaxStatus(synState status) const = 0;
  // Advances a line's start state (in *state) and condition word to the
  // next line's.
  virtual void QuickLineParser(synState* state, uint32_t condition,
                               const char* text, int length,
                               uint32_t* nextCondition) = 0;
  // Start of the coloured run holding `position`, when the line starts in
  // `state`.
  virtual int GetSyntaxElementStartPosition(synState state, const char* text,
                                            int position, int length) = 0;
  // Colours text[from, min(to, length)) starting in `startState`, reports
  // the runs to `callback`, and returns the state at the end.
  virtual synState CalculateTextSynstate(synState startState, const char* text,
                                         int from, int to, int length,
                                         bool everyPiece, synRunCallback callback,
                                         void* context,
                                         const ExtraSyntaxInfoInterface* extra) = 0;

  // ---- state tests ----
  virtual bool IsInComment(synState state) const = 0;
  virtual bool IsInLineComment(synState state) const = 0;
  virtual bool IsInString(synState state) const = 0;
  virtual bool IsInChar(synState state) const = 0;
  virtual bool IsDeadcode(synState state) const = 0;
  virtual char* GetNameForSynstate(synState state) const = 0;  // gen_free it
  virtual bool IsValidForHeadFile() const = 0;
  virtual bool IsValidForParenthesisMatching() const = 0;

  // For kind 1024: the customized words and colours of a definition file
  // as extra words for one file; otherwise null.  Owned by the caller.
  virtual ExtraSyntaxInfoInterface* LoadSyntaxInfo(const char* file, int kind) = 0;
};
