// The scratch buffer ring: short-lived buffers for formatting and copying
// without ownership.  A buffer stays valid until `slots` further calls, so a
// caller that needs k buffers at once asks with slots >= k.
#include "base/gen.h"

#include <cstring>
#include <vector>

namespace {

struct Slot {
  long capacity = 0;
  char* buffer = nullptr;
};

// The slots live for the whole process and are never freed.
std::vector<Slot>& ring() {
  static auto* slots = new std::vector<Slot>;
  return *slots;
}
size_t ring_index = 0;

}  // namespace

char* gen_get_temp_buf(int slots, long size) {
  if (size <= 0) return nullptr;
  if (slots < 1) slots = 1;
  std::vector<Slot>& r = ring();
  if (r.size() < static_cast<size_t>(slots)) r.resize(static_cast<size_t>(slots));
  ring_index++;
  if (ring_index >= static_cast<size_t>(slots)) ring_index = 0;
  Slot& slot = r[ring_index];
  if (slot.capacity < size) {
    slot.buffer = static_cast<char*>(gen_realloc(slot.buffer, size));
    slot.capacity = size;
  }
  return slot.buffer;
}

char* gen_get_zeroed_temp_buf(int slots, long size) {
  char* buf = gen_get_temp_buf(slots, size);
  if (buf) std::memset(buf, 0, static_cast<size_t>(size));
  return buf;
}

char* gen_temp_copy(int slots, const char* s) {
  if (!s) return nullptr;
  const long n = static_cast<long>(std::strlen(s)) + 1;
  char* buf = gen_get_temp_buf(slots, n);
  if (buf) std::memcpy(buf, s, static_cast<size_t>(n));
  return buf;
}
