// Reading both sides into the tables: count the lines, size the symbol
// index above the total, then give every line its symbol.  File sides are
// canonicalised under the options through one buffer per side; no other
// memory is taken per line beyond each new symbol (and its text, when the
// texts are kept).
#include "diff/engine.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "base/gen.h"
#include "diff/big_alloc.h"
#include "diff/line_reader.h"
#include "diff/store_batch.h"
#include "diff/text_store.h"
#include "text/file.h"

namespace diff_engine {

namespace {

// Table sizes; the first one above the total line count is used, so the
// table is never full.
constexpr int32_t kSizeLadder[] = {1039,   3301,    6091,    9679,    13451,
                                   19069,  33577,   65535,   131071,  262143,
                                   524287, 1048575, 2097151, 16777215};

// Counts a named file's lines; -1 after a message when it cannot be opened.
long CountNamedLines(const char* name) {
  FILE* in = name ? fopen(name, "rb") : nullptr;
  if (!in) {
    gen_error("Error opening file - %s\n", name ? name : "");
    return -1;
  }
  long count = 0;
  while (diff_fgets(in)) count++;
  fclose(in);
  return count;
}

long CountLines(int kind, const void* source, int count) {
  switch (kind) {
    case DIFF_FILE:
      return source ? static_cast<const file*>(source)->lineCount : -1;
    case DIFF_STRINGS:
    case DIFF_STREAM:
      return count;
    case DIFF_NAME:
      return CountNamedLines(static_cast<const char*>(source));
    case DIFF_PATH: {
      const auto* name = static_cast<const char*>(source);
      const long count = name ? DiffLineReader::CountLines(name) : -1;
      if (count < 0) gen_error("Error opening file - %s\n", name ? name : "");
      return count;
    }
    default:
      gen_error("Error - unknown file type %i\n", kind);
      return -1;
  }
}

bool Allocate(long count1, long count2, int32_t size, bool keepTexts) {
  tables.count1 = static_cast<int32_t>(count1);
  tables.count2 = static_cast<int32_t>(count2);
  tables.slotCount = size;
  tables.slots = BigArray<int32_t>(size);
  tables.symbols = BigArray<diffSymTableStruct>(count1 + count2 + 1);
  tables.hashes = BigArray<int32_t>(count1 + count2 + 1);
  tables.first = BigArray<diffLineTableStruct>(count1 + 2);
  tables.second = BigArray<diffLineTableStruct>(count2 + 2);
  if (!tables.slots || !tables.symbols || !tables.hashes || !tables.first || !tables.second)
    return false;
  if (keepTexts) {
    tables.texts = BigArray<const char*>(count1 + count2 + 1);
    if (!tables.texts) return false;
    tables.textStore = new TextStore();
  } else {
    StartSample();
  }
  return true;
}

// Enters one line of side 1 or 2; false when the table is full.
bool Enter(int side, int32_t number, const char* text, long length) {
  const int32_t slot = diff_store(text, length);
  if (slot < 0) return false;
  EnterLine(side, number, slot);
  return true;
}

// Canonical texts of the lines waiting in a batch.
class CanonScratch {
 public:
  explicit CanonScratch(long widest)
      : capacity_(widest + 10 > kMinimum ? widest + 10 : kMinimum),
        bytes_(static_cast<char*>(malloc(capacity_))) {}
  ~CanonScratch() { free(bytes_); }
  bool ok() const { return bytes_ != nullptr; }
  bool Fits(long length) const { return used_ + length <= capacity_; }
  void Reset() { used_ = 0; }
  // Makes room for a line of `length` bytes; only when empty (after Reset).
  bool Grow(long length) {
    if (length <= capacity_) return true;
    char* bigger = static_cast<char*>(realloc(bytes_, length));
    if (!bigger) return false;
    bytes_ = bigger;
    capacity_ = length;
    return true;
  }
  // Canonicalises into the scratch; the text stays until Reset.
  const char* Put(const char* text, long* length) {
    char* out = bytes_ + used_;
    *length = diff_canonicalize(text, *length, options, out);
    used_ += *length;
    return out;
  }

 private:
  static constexpr long kMinimum = 64 * 1024;
  long capacity_;
  char* bytes_;
  long used_ = 0;
};

bool ReadFileSide(int side, file* f) {
  CanonScratch canon(options ? f->widestLine : 0);
  if (!canon.ok()) return false;
  StoreBatch batch(side);
  int32_t number = 0;
  for (line* l = f->firstLine; l; l = l->next) {
    long length = l->length;
    const char* text = FileLineTextInWindow(f, l);
    if (!text) {
      // A new window would invalidate the queued texts: store them first.
      if (!batch.Flush()) return false;
      canon.Reset();
      text = FileLineText(f, l);
      if (!text) return false;
    }
    if (options) {
      if (!canon.Fits(length)) {
        if (!batch.Flush()) return false;
        canon.Reset();
      }
      text = canon.Put(text, &length);
    }
    if (!batch.Add(++number, text, length)) return false;
    if (batch.Empty()) canon.Reset();
  }
  return batch.Flush();
}

bool ReadPathSide(int side, const char* name) {
  DiffLineReader reader;
  if (!reader.Open(name)) {
    gen_error("Error opening file - %s\n", name);
    return false;
  }
  CanonScratch canon(0);
  if (!canon.ok()) return false;
  StoreBatch batch(side);
  const int32_t count = side == 1 ? tables.count1 : tables.count2;
  int32_t number = 0;
  const char* text = nullptr;
  long length = 0;
  for (;;) {
    if (reader.NeedsRead()) {
      // Reading on moves the block under the queued texts: store them first.
      if (!batch.Flush()) return false;
      canon.Reset();
    }
    if (!reader.Next(&text, &length)) break;
    if (number == count) break;  // the file grew since it was counted
    if (options) {
      if (!canon.Fits(length)) {
        // The canonical form is never longer than the line.
        if (!batch.Flush()) return false;
        canon.Reset();
        if (!canon.Grow(length)) return false;
      }
      text = canon.Put(text, &length);
    }
    if (!batch.Add(++number, text, length)) return false;
    if (batch.Empty()) canon.Reset();
  }
  if (reader.failed() || number != count) {
    gen_error("Error reading file - %s\n", name);
    return false;
  }
  return batch.Flush();
}

bool ReadStringSide(int side, char** lines, int32_t count) {
  StoreBatch batch(side);
  for (int32_t k = 0; k < count; ++k) {
    const char* text = lines[k] ? lines[k] : "";
    if (!batch.Add(k + 1, text, static_cast<long>(strlen(text)))) return false;
  }
  return batch.Flush();
}

bool ReadStreamSide(int side, FILE* in, int32_t count) {
  for (int32_t k = 1; k <= count; ++k) {
    long length = 0;
    const char* text = diff_fgets(in, &length);
    if (!text || !Enter(side, k, text, length)) return false;
  }
  return true;
}

bool ReadNamedSide(int side, const char* name, int32_t count) {
  FILE* in = fopen(name, "rb");
  if (!in) {
    gen_error("Error opening file - %s\n", name);
    return false;
  }
  const bool ok = ReadStreamSide(side, in, count);
  fclose(in);
  return ok;
}

bool ReadOneFile(int side, int kind, const void* source, int32_t count) {
  bool ok = false;
  switch (kind) {
    case DIFF_FILE:
      ok = ReadFileSide(side, static_cast<file*>(const_cast<void*>(source)));
      break;
    case DIFF_STRINGS:
      ok = ReadStringSide(side, static_cast<char**>(const_cast<void*>(source)), count);
      break;
    case DIFF_NAME:
      ok = ReadNamedSide(side, static_cast<const char*>(source), count);
      break;
    case DIFF_STREAM:
      ok = ReadStreamSide(side, static_cast<FILE*>(const_cast<void*>(source)), count);
      break;
    case DIFF_PATH:
      ok = ReadPathSide(side, static_cast<const char*>(source));
      break;
  }
  diffLineTableStruct& end = (side == 1 ? tables.first : tables.second)[count + 1];
  end.matched = 1;
  return ok;
}

}  // namespace

int32_t SymbolTableSize(long lines) {
  for (int32_t size : kSizeLadder) {
    if (size > lines) return size;
  }
  return 0;
}

bool diffReadFiles(int kind1, const void* source1, int count1, int kind2,
                   const void* source2, int count2, bool keepTexts) {
  const long n1 = CountLines(kind1, source1, count1);
  const long n2 = n1 < 0 ? -1 : CountLines(kind2, source2, count2);
  if (n1 < 0 || n2 < 0) return false;
  const int32_t size = SymbolTableSize(n1 + n2);
  if (size == 0) {
    // The symbol index's largest size bounds the lines of one comparison.
    const int32_t largest = kSizeLadder[std::size(kSizeLadder) - 1];
    gen_error("Out of memory in diff.\n");
    gen_error("The two files have %ld lines together; at most %ld can be compared.", n1 + n2,
              static_cast<long>(largest) - 1);
    ClearTables();
    return false;
  }
  if (!Allocate(n1, n2, size, keepTexts)) {
    gen_error("Out of memory in diff.\n");
    ClearTables();
    return false;
  }
  if (!ReadOneFile(1, kind1, source1, tables.count1) ||
      !ReadOneFile(2, kind2, source2, tables.count2)) {
    ClearTables();
    return false;
  }
  tables.first[n1 + 1].partner = tables.first[n1 + 1].symbol = tables.count2 + 1;
  tables.second[n2 + 1].partner = tables.second[n2 + 1].symbol = tables.count1 + 1;
  // The index and the sample are only needed while reading.
  BigFree(tables.slots);
  tables.slots = nullptr;
  if (tables.sample) EndSample();
  return true;
}

}  // namespace diff_engine
