// The chained hash table.  Each link keeps its key's full hash, so lookups
// call the compare function only for equal hashes and growth relinks
// without rehashing.  The record's self pointer marks a live table.
#include "libs/libadt/ht.h"

#include <cstdio>
#include <cstdlib>

#include "libs/libadt/ht_record.h"

namespace {

// Bucket counts: each roughly double the one before.
constexpr long kPrimes[26] = {
    29,        59,        127,       257,       521,        1049,      2099,
    4201,      8419,      16843,     33703,     67409,      134837,    269683,
    539389,    1078787,   2157587,   4315183,   8630387,    17260781,  34521589,
    69043189,  138086407, 276172823, 552345671, 1104691373};

// The first ladder prime >= n, or 0 when n is above the ladder.
long first_prime_at_least(long n) {
  for (long p : kPrimes)
    if (p >= n) return p;
  return 0;
}

bool refuse(HT_PT ht, const char* message) {
  if (HT_IsValid(ht)) return false;
  std::fputs(message, stderr);
  return true;
}

// The link slot holding `key` (the pointer that points at its link), or the
// empty slot at the end of its chain.
HTLink** find_slot(HT_PT ht, const void* key, unsigned hash) {
  HTLink** slot = &ht->buckets[hash % static_cast<unsigned long>(ht->bucketCount)];
  while (*slot != nullptr &&
         ((*slot)->hash != hash || ht->compare((*slot)->key, key) != 0))
    slot = &(*slot)->next;
  return slot;
}

void append_link(HTLink** buckets, long bucketCount, HTLink* link) {
  HTLink** slot = &buckets[link->hash % static_cast<unsigned long>(bucketCount)];
  while (*slot != nullptr) slot = &(*slot)->next;
  link->next = nullptr;
  *slot = link;
}

// Moves every link to a larger bucket vector once chains average more than
// two links; keeps the old one if the new cannot be had.
void grow_if_crowded(HT_PT ht) {
  if (ht->itemCount <= 2 * ht->bucketCount || ht->iterCount > 0) return;
  long count = first_prime_at_least(ht->itemCount);
  if (count == 0 || count <= ht->bucketCount) return;
  auto** buckets = static_cast<HTLink**>(std::calloc(static_cast<size_t>(count), sizeof(HTLink*)));
  if (buckets == nullptr) return;
  for (long b = 0; b < ht->bucketCount; b++) {
    for (HTLink* link = ht->buckets[b]; link != nullptr;) {
      HTLink* next = link->next;
      append_link(buckets, count, link);
      link = next;
    }
  }
  std::free(ht->buckets);
  ht->buckets = buckets;
  ht->bucketCount = count;
}

HT_PT refuse_new(const char* message) {
  std::fputs(message, stderr);
  return nullptr;
}

void free_link(HT_PT ht, HTLink* link) {
  if (ht->keyDelete != nullptr) ht->keyDelete(link->key);
  if (ht->objectDelete != nullptr) ht->objectDelete(link->object);
  std::free(link);
}

}  // namespace

HT_PT HT_New(long approxSize, HashFunc_PT hash, CompareFunc_PT compare,
             DeleteFunc_PT keyDelete, DeleteFunc_PT objectDelete,
             CloneFunc_PT keyClone, CloneFunc_PT objectClone) {
  if (hash == nullptr) return refuse_new("HashFunc_PT NULL in HT_New()\n");
  if (compare == nullptr) return refuse_new("CompareFunc_PT NULL in HT_New()\n");
  long count = first_prime_at_least(approxSize);
  if (count == 0) return refuse_new("approxSize far too big in HT_New()\n");
  if ((keyClone == nullptr) != (objectClone == nullptr)) {
    std::fputs("No point to providing only one of keyCloneFuncP, objectCloneFuncP\n", stderr);
    keyClone = nullptr;
    objectClone = nullptr;
  }
  auto* ht = static_cast<HT*>(std::calloc(1, sizeof(HT)));
  auto** buckets = static_cast<HTLink**>(std::calloc(static_cast<size_t>(count), sizeof(HTLink*)));
  if (ht == nullptr || buckets == nullptr) {
    std::free(ht);
    std::free(buckets);
    std::fputs("Out of memory in HT_New()\n", stderr);
    return nullptr;
  }
  *ht = HT{ht, buckets, 0, count, hash, compare, keyDelete, objectDelete,
           keyClone, objectClone, 0};
  return ht;
}

void HT_Delete(HT_PT ht) {
  if (ht == nullptr) return;
  if (refuse(ht, "HT_Delete() called on invalid HT_PT\n")) return;
  if (ht->iterCount > 0) {
    std::fputs("HT_Delete() called while iterators are live\n", stderr);
    return;
  }
  for (long b = 0; b < ht->bucketCount; b++) {
    for (HTLink* link = ht->buckets[b]; link != nullptr;) {
      HTLink* next = link->next;
      free_link(ht, link);
      link = next;
    }
  }
  std::free(ht->buckets);
  ht->self = nullptr;
  std::free(ht);
}

HT_PT HT_Clone(HT_PT ht) {
  if (refuse(ht, "HT_Clone() called on NULL or invalid HT_PT\n")) return nullptr;
  bool cloning = ht->keyClone != nullptr;
  if (!cloning && (ht->keyDelete != nullptr || ht->objectDelete != nullptr)) {
    std::fputs("HT_Clone() needs clone functions for a table owning its items\n", stderr);
    return nullptr;
  }
  HT_PT copy = HT_New(ht->bucketCount, ht->hash, ht->compare, ht->keyDelete,
                      ht->objectDelete, ht->keyClone, ht->objectClone);
  if (copy == nullptr) return nullptr;
  for (long b = 0; b < ht->bucketCount; b++) {
    for (HTLink* link = ht->buckets[b]; link != nullptr; link = link->next) {
      auto* twin = static_cast<HTLink*>(std::malloc(sizeof(HTLink)));
      if (twin == nullptr) {
        std::fputs("Out of memory in HT_Clone()\n", stderr);
        HT_Delete(copy);
        return nullptr;
      }
      *twin = HTLink{nullptr, cloning ? ht->keyClone(link->key) : link->key, link->hash,
                   cloning ? ht->objectClone(link->object) : link->object};
      append_link(copy->buckets, copy->bucketCount, twin);
      copy->itemCount++;
    }
  }
  return copy;
}

int HT_GetSize(HT_PT ht) {
  if (refuse(ht, "HT_GetSize() called on NULL or invalid HT_PT\n")) return -1;
  return static_cast<int>(ht->itemCount);
}

int HT_GetBucketCount(HT_PT ht) {
  if (refuse(ht, "HT_GetBucketCount() called on NULL or invalid HT_PT\n")) return -1;
  return static_cast<int>(ht->bucketCount);
}

int HT_InsertItem(HT_PT ht, void* key, void* object) {
  if (refuse(ht, "HT_InsertItem() called on NULL or invalid HT_PT\n")) return 0;
  unsigned hash = ht->hash(key);
  HTLink** slot = find_slot(ht, key, hash);
  if (*slot != nullptr) return 0;
  auto* link = static_cast<HTLink*>(std::malloc(sizeof(HTLink)));
  if (link == nullptr) {
    std::fputs("Out of memory in HT_InsertItem()\n", stderr);
    return 0;
  }
  *link = HTLink{nullptr, key, hash, object};
  *slot = link;
  ht->itemCount++;
  grow_if_crowded(ht);
  return 1;
}

int HT_RemoveItem(HT_PT ht, const void* key) {
  if (refuse(ht, "HT_RemoveItem() called on NULL or invalid HT_PT\n")) return 0;
  HTLink** slot = find_slot(ht, key, ht->hash(key));
  HTLink* link = *slot;
  if (link == nullptr) return 0;
  *slot = link->next;
  ht->itemCount--;
  free_link(ht, link);
  return 1;
}

void* HT_FindItem(HT_PT ht, const void* key) {
  if (refuse(ht, "HT_FindItem() called on NULL or invalid HT_PT\n")) return nullptr;
  HTLink* link = *find_slot(ht, key, ht->hash(key));
  return link != nullptr ? link->object : nullptr;
}

int HT_HasItem(HT_PT ht, const void* key) {
  if (refuse(ht, "HT_HasItem() called on NULL or invalid HT_PT\n")) return 0;
  return *find_slot(ht, key, ht->hash(key)) != nullptr ? 1 : 0;
}
