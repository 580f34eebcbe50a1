// Loading the sides of a merge or a comparison (private to diff/merge*).
#pragma once

#include <string>

#include "diff/merge.h"

struct MergeSides {
  file* file1 = nullptr;
  file* file2 = nullptr;
  file* file3 = nullptr;  // null: two-way
  std::string name2;      // file 2's name as completed
  bool nothingToDo = false;  // the same version twice
};

// Loads file 1, file 2 and the base by the request's rules; false after
// the message (the sides loaded so far are released).
bool merge_LoadSides(const MergeRequest* request, MergeSides* sides);
// Removes the sides' temporary copies and frees them.
void merge_FreeSides(MergeSides* sides);
