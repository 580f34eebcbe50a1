// HT: a chained hash table from pointer-sized keys to pointer-sized objects.
// Bucket counts are primes from a fixed ladder; the table grows when chains
// average more than two links, unless an iterator is walking it.  A table
// created with delete functions owns its keys and objects.
#pragma once

using HT_PT = struct HT*;
using HTIter_PT = struct HTIter*;

using HashFunc_PT = unsigned (*)(const void* key);
using CompareFunc_PT = int (*)(const void* a, const void* b);  // 0: equal
using DeleteFunc_PT = void (*)(void* p);
using CloneFunc_PT = void* (*)(const void* p);

// The bucket count is the first prime of the ladder >= approxSize (29 for
// 0).  Hash and compare functions are required; clone functions come both
// or neither (a lone one is dropped with a message).  Returns null with a
// message on failure.
HT_PT HT_New(long approxSize, HashFunc_PT hash, CompareFunc_PT compare,
             DeleteFunc_PT keyDelete, DeleteFunc_PT objectDelete,
             CloneFunc_PT keyClone, CloneFunc_PT objectClone);
// Deletes every key and object through the delete functions.  Null is
// accepted.  Iterators must be deleted first.
void HT_Delete(HT_PT ht);
// A copy with the same functions and buckets.  Keys and objects are copied
// through the clone functions; a table without them is copied word for word,
// which is refused (null) when the table owns its keys or objects.
HT_PT HT_Clone(HT_PT ht);

// Item count; -1 for a null or invalid table.
int HT_GetSize(HT_PT ht);
// Bucket count; -1 for a null or invalid table.
int HT_GetBucketCount(HT_PT ht);

// Adds key -> object and returns 1, taking ownership of both.  A key already
// present is refused: returns 0 and the caller keeps key and object.
int HT_InsertItem(HT_PT ht, void* key, void* object);
// Removes the item, deleting its key and object through the delete
// functions.  Returns 1, or 0 when the key is absent.  Must not remove the
// item a live iterator points at.
int HT_RemoveItem(HT_PT ht, const void* key);
// The object stored under `key`, or null when absent.
void* HT_FindItem(HT_PT ht, const void* key);
// 1 when `key` is present (tells a stored null object from a missing key).
int HT_HasItem(HT_PT ht, const void* key);

// Iterators visit every item once, bucket by bucket.  HT_Begin is at the
// first item, HT_End past the last.  While any iterator lives the table does
// not grow, so insertions keep the walk valid.  Each must be released with
// HTIter_Delete.
HTIter_PT HT_Begin(HT_PT ht);
HTIter_PT HT_End(HT_PT ht);
// Moves to the next item; returns 1 while the iterator is at an item, 0
// once it is past the last.
int HTIter_Inc(HTIter_PT it);
HTIter_PT HTIter_Copy(HTIter_PT it);
void HTIter_Delete(HTIter_PT it);
// The current object / key; null past the end.
void* HTIter_GetValue(HTIter_PT it);
void* HTIter_GetKey(HTIter_PT it);
// 1 past the last item (also for a null iterator).
int HTIter_AtEnd(HTIter_PT it);
// 1 when both are at the same place of the same table.
int HTIter_Equal(HTIter_PT a, HTIter_PT b);

// Functions for NUL-terminated string keys.  The hash rotates its 32-bit
// value left by 7 and folds in each byte (null hashes to 0); compare is
// strcmp; delete frees with free(3); clone copies with malloc (null stays
// null).
unsigned HT_StringHashFunc(const void* key);
int HT_StringCompareFunc(const void* a, const void* b);
void HT_StringDeleteFunc(void* key);
void* HT_StringCloneFunc(const void* key);
