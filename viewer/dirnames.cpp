#include "viewer/dirnames.h"

#include <cstring>

#include "base/gen.h"

namespace {

std::string canonicalDirectory(const char* name) {
  char* dir = gen_dirname(name);
  char* canonical = gen_canonicalfilename(dir);
  std::string out = canonical ? canonical : (dir ? dir : "");
  gen_free(canonical);
  gen_free(dir);
  return out;
}

bool isInside(const std::string& outer, const std::string& inner) {
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
         inner[outer.size()] == '/';
}

}  // namespace

DirectoryParts dv_DirectoryParts(const char* leftName, const char* rightName) {
  DirectoryParts parts;
  if (!leftName || !rightName || !strcmp(leftName, rightName)) return parts;
  std::string left = canonicalDirectory(leftName);
  std::string right = canonicalDirectory(rightName);
  if (left == right) return parts;
  size_t diff = 0;
  while (diff < left.size() && diff < right.size() && left[diff] == right[diff]) diff++;
  parts.shown = true;
  if (isInside(left, right) || isInside(right, left) || diff == 0) {
    parts.left = left;
    parts.right = right;
    return parts;
  }
  size_t slash = left.rfind('/', diff - 1);
  size_t start = slash == std::string::npos ? 0 : slash + 1;
  parts.left = left.substr(start);
  parts.right = right.substr(start);
  return parts;
}

std::string dv_FileLabel(const char* name, const DirectoryParts& parts, bool right) {
  char* base = gen_basename(name ? name : "");
  std::string label = base ? base : "";
  gen_free(base);
  const std::string& part = right ? parts.right : parts.left;
  if (parts.shown && !part.empty()) label += " (" + part + ")";
  return label;
}
