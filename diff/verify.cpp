// Checking the pairings against the texts.  Without kept texts, symbols
// are told apart by a 64-bit fingerprint and length, so two different
// lines could in principle share a symbol; reading both sides once more
// and comparing each pair's canonical texts makes the result exact (the
// caller compares again with kept texts when a check fails).  The pairings
// are in order, so both sides are read straight through.
#include <cstring>
#include <vector>

#include "diff/engine.h"
#include "diff/line_reader.h"
#include "text/file.h"

namespace diff_engine {

namespace {

// The lines of one side in order, from a loaded file or a named one.
class SideLines {
 public:
  SideLines(int kind, const void* source) : kind_(kind) {
    if (kind == DIFF_FILE) {
      file_ = static_cast<file*>(const_cast<void*>(source));
      line_ = file_ ? file_->firstLine : nullptr;
    } else {
      ok_ = reader_.Open(static_cast<const char*>(source));
    }
  }
  // Passes over the next line.
  bool Skip() {
    if (kind_ != DIFF_FILE) {
      const char* text = nullptr;
      long length = 0;
      return ok_ && reader_.Next(&text, &length);
    }
    if (!line_) return false;
    line_ = line_->next;
    return true;
  }
  // The next line's text, valid until the next call; null at the end or on
  // a read error.
  const char* Next(long* length) {
    const char* text = nullptr;
    if (kind_ == DIFF_FILE) {
      if (!line_) return nullptr;
      text = FileLineText(file_, line_);
      *length = line_->length;
      line_ = line_->next;
    } else if (!ok_ || !reader_.Next(&text, length)) {
      return nullptr;
    }
    return text;
  }
  // The canonical form of a text under the options, valid until the next
  // call.
  const char* Canonical(const char* text, long* length) {
    if (canon_.size() < static_cast<size_t>(*length) + 1) canon_.resize(*length + 1);
    *length = diff_canonicalize(text, *length, options, canon_.data());
    return canon_.data();
  }

 private:
  int kind_;
  file* file_ = nullptr;
  line* line_ = nullptr;
  DiffLineReader reader_;
  bool ok_ = true;
  std::vector<char> canon_;
};

}  // namespace

bool diffVerifyPairs(int kind1, const void* source1, int kind2, const void* source2) {
  SideLines side1(kind1, source1);
  SideLines side2(kind2, source2);
  int32_t read2 = 0;
  for (int32_t i = 1; i <= tables.count1; ++i) {
    const diffLineTableStruct& e = tables.first[i];
    if (!e.matched) {
      if (!side1.Skip()) return false;
      continue;
    }
    long length1 = 0, length2 = 0;
    const char* text1 = side1.Next(&length1);
    if (!text1) return false;
    for (; read2 + 1 < e.partner; ++read2) {
      if (!side2.Skip()) return false;
    }
    const char* text2 = side2.Next(&length2);
    ++read2;
    if (!text2) return false;
    // Equal bytes are equal under any options; only others are canonicalised.
    if (length1 == length2 && memcmp(text1, text2, length1) == 0) continue;
    if (!options) return false;
    text1 = side1.Canonical(text1, &length1);
    text2 = side2.Canonical(text2, &length2);
    if (length1 != length2 || memcmp(text1, text2, length1) != 0) return false;
  }
  return true;
}

}  // namespace diff_engine
