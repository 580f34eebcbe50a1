// The symbols: one per distinct canonical line, numbered in the order they
// are first seen, found through an open-addressed index (linear probing)
// keyed by a 64-bit fingerprint.  A symbol keeps its fingerprint and
// length; its text when the texts are kept, and then probes compare the
// bytes too.  Otherwise the first symbols' texts are sampled while they
// fit a small budget: on files of a few distinct lines every line is then
// compared byte by byte and the pairings need no check afterwards.
#include "diff/engine.h"

#include <cstring>

#include "diff/text_store.h"

int32_t diff_hash(const char* text, long length) {
  uint32_t h = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (long k = 0; k < length; ++k) {
    const uint32_t t = h + bytes[k];
    h = (t >> 23) + (t << 7);
  }
  return static_cast<int32_t>(h & 0x3FFFFFFF);
}

namespace {

constexpr uint64_t kMul1 = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kMul2 = 0xC2B2AE3D27D4EB4Full;

inline uint64_t Mix(uint64_t h, uint64_t word) {
  h ^= word * kMul1;
  h = (h << 31) | (h >> 33);
  return h * kMul2;
}

}  // namespace

// Eight bytes a step, each word multiplied and rotated in (as the murmur
// family does), the length folded in first and a final avalanche.
uint64_t diff_fingerprint(const char* text, long length) {
  uint64_t h = kMul2 ^ static_cast<uint64_t>(length) * kMul1;
  long k = 0;
  for (; k + 8 <= length; k += 8) {
    uint64_t word;
    memcpy(&word, text + k, 8);
    h = Mix(h, word);
  }
  if (k < length) {
    uint64_t word = 0;
    memcpy(&word, text + k, static_cast<size_t>(length - k));
    h = Mix(h, word);
  }
  h ^= h >> 33;
  h *= kMul1;
  h ^= h >> 29;
  return h;
}

namespace diff_engine {

uint64_t fingerprintMask = ~uint64_t{0};
long sampleBytes = 1L << 20;

namespace {

long sampled = 0;

// Whether `text` is the text of `symbol`, as far as can be told.
bool SameText(int32_t symbol, const char* text, long length) {
  if (tables.texts) return memcmp(tables.texts[symbol], text, length) == 0;
  const std::vector<const char*>& sample = *tables.sample;
  if (static_cast<size_t>(symbol) < sample.size())
    return memcmp(sample[symbol], text, length) == 0;
  tables.unverified = true;
  return true;
}

// Keeps the text of a new symbol when the texts or the sample take it.
void KeepText(int32_t symbol, const char* text, long length) {
  if (tables.texts) {
    tables.texts[symbol] = tables.textStore->Copy(text, length);
    return;
  }
  std::vector<const char*>& sample = *tables.sample;
  if (static_cast<size_t>(symbol) != sample.size()) return;  // the sample is full
  if (sampled + length + 1 > sampleBytes) return;
  sampled += length + 1;
  sample.push_back(tables.textStore->Copy(text, length));
}

}  // namespace

void StartSample() {
  sampled = 0;
  tables.sample = new std::vector<const char*>();
  tables.textStore = new TextStore();
}

void EndSample() {
  delete tables.sample;
  tables.sample = nullptr;
  delete tables.textStore;
  tables.textStore = nullptr;
}

int32_t diff_store(const char* text, long length) {
  return diff_store_keyed(text, length, diff_fingerprint(text, length));
}

int32_t diff_store_keyed(const char* text, long length, uint64_t fingerprint) {
  fingerprint &= fingerprintMask;
  const int32_t size = tables.slotCount;
  int32_t* slots = tables.slots;
  const int32_t first = FirstSlot(fingerprint);
  int32_t slot = first;
  for (;;) {
    const int32_t held = slots[slot];
    if (held == 0) break;
    const diffSymTableStruct& s = tables.symbols[held - 1];
    if (s.fingerprint == fingerprint && s.length == static_cast<uint32_t>(length) &&
        SameText(held - 1, text, length)) {
      return held - 1;
    }
    if (++slot == size) slot = 0;
    if (slot == first) return -1;
  }
  const int32_t symbol = tables.symbolCount++;
  slots[slot] = symbol + 1;
  diffSymTableStruct& s = tables.symbols[symbol];
  s.fingerprint = fingerprint;
  s.length = static_cast<uint32_t>(length);
  tables.hashes[symbol] = static_cast<int32_t>(fingerprint & 0x3FFFFFFF);
  KeepText(symbol, text, length);
  return symbol;
}

}  // namespace diff_engine
