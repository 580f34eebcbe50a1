// Walking a hash table bucket by bucket.  Iterators are counted by their
// table, which holds its bucket vector still while any is alive, so a walk
// survives insertions.
#include "libs/libadt/ht.h"

#include <cstdio>
#include <cstdlib>

#include "libs/libadt/ht_record.h"

namespace {

bool live(HTIter_PT it) { return it != nullptr && HT_IsValid(it->ht); }

// Settles on the first link at or after `bucket`, or past the end.
void settle_from(HTIter_PT it, long bucket) {
  for (; bucket < it->ht->bucketCount; bucket++) {
    if (it->ht->buckets[bucket] != nullptr) {
      it->bucket = bucket;
      it->link = it->ht->buckets[bucket];
      return;
    }
  }
  it->bucket = it->ht->bucketCount;
  it->link = nullptr;
}

HTIter_PT make_iter(HT_PT ht, const char* message) {
  if (!HT_IsValid(ht)) {
    std::fputs(message, stderr);
    return nullptr;
  }
  auto* it = static_cast<HTIter*>(std::calloc(1, sizeof(HTIter)));
  if (it == nullptr) {
    std::fputs("Out of memory in HT_Begin()\n", stderr);
    return nullptr;
  }
  it->ht = ht;
  ht->iterCount++;
  return it;
}

}  // namespace

HTIter_PT HT_Begin(HT_PT ht) {
  HTIter_PT it = make_iter(ht, "HT_Begin() called on NULL or invalid HT_PT\n");
  if (it != nullptr) settle_from(it, 0);
  return it;
}

HTIter_PT HT_End(HT_PT ht) {
  HTIter_PT it = make_iter(ht, "HT_End() called on NULL or invalid HT_PT\n");
  if (it != nullptr) settle_from(it, ht->bucketCount);
  return it;
}

int HTIter_Inc(HTIter_PT it) {
  if (!live(it) || it->link == nullptr) return 0;
  if (it->link->next != nullptr) {
    it->link = it->link->next;
    return 1;
  }
  settle_from(it, it->bucket + 1);
  return it->link != nullptr ? 1 : 0;
}

HTIter_PT HTIter_Copy(HTIter_PT it) {
  if (!live(it)) return nullptr;
  HTIter_PT copy = make_iter(it->ht, "");
  if (copy != nullptr) {
    copy->bucket = it->bucket;
    copy->link = it->link;
  }
  return copy;
}

void HTIter_Delete(HTIter_PT it) {
  if (it == nullptr) return;
  if (HT_IsValid(it->ht)) it->ht->iterCount--;
  std::free(it);
}

void* HTIter_GetValue(HTIter_PT it) {
  return live(it) && it->link != nullptr ? it->link->object : nullptr;
}

void* HTIter_GetKey(HTIter_PT it) {
  return live(it) && it->link != nullptr ? it->link->key : nullptr;
}

int HTIter_AtEnd(HTIter_PT it) { return !live(it) || it->link == nullptr ? 1 : 0; }

int HTIter_Equal(HTIter_PT a, HTIter_PT b) {
  if (a == nullptr || b == nullptr) return a == b ? 1 : 0;
  return a->ht == b->ht && a->link == b->link ? 1 : 0;
}
