// Private to the hash table's files: the table, link and iterator records
// shared by the table operations and the iterators.
#pragma once

#include "libs/libadt/ht.h"

struct HTLink {
  HTLink* next;
  void* key;
  unsigned hash;  // the key's full hash, compared before the keys
  void* object;
};

struct HT {
  HT* self;  // equals the record's own address while the table is alive
  HTLink** buckets;
  long itemCount;
  long bucketCount;
  HashFunc_PT hash;
  CompareFunc_PT compare;
  DeleteFunc_PT keyDelete;
  DeleteFunc_PT objectDelete;
  CloneFunc_PT keyClone;
  CloneFunc_PT objectClone;
  int iterCount;  // live iterators; the table does not grow while > 0
};

struct HTIter {
  HT* ht;
  long bucket;   // bucketCount once past the last item
  HTLink* link;  // null once past the last item
};

inline bool HT_IsValid(HT_PT ht) { return ht != nullptr && ht->self == ht; }
