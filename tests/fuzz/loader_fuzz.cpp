// The text model's loader on arbitrary bytes: the input is written to a
// file and loaded, and every line read back must be the bytes between its
// line ends (LF, CR LF), with the final newline's absence recorded.  The
// difference engine's streaming reader must find the same lines.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/gen.h"
#include "diff/line_reader.h"
#include "text/file.h"

namespace {

// The lines the loader must find: split at LF, a CR before an LF dropped.
std::string expectedLines(const std::string& text, bool* finalNewline) {
  std::string joined;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    size_t stop = nl == std::string::npos ? text.size() : nl;
    size_t end = stop;
    if (nl != std::string::npos && end > start && text[end - 1] == '\r') end--;
    joined.append(text, start, end - start);
    joined += '\n';
    start = nl == std::string::npos ? text.size() : nl + 1;
  }
  *finalNewline = text.empty() || text.back() == '\n';
  return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string path = [] {
    gen_init("fuzz_loader", 0, 0);
    return std::string(gen_temp_dir(nullptr)) + "/fuzz_loader_" + std::to_string(getpid());
  }();
  std::string text(reinterpret_cast<const char*>(data), size);
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return 0;
  fwrite(text.data(), 1, text.size(), out);
  fclose(out);
  bool finalNewline;
  const std::string want = expectedLines(text, &finalNewline);
  DiffLineReader reader;
  std::string streamed;
  const char* t = nullptr;
  long length = 0;
  if (!reader.Open(path.c_str())) return 0;
  while (reader.Next(&t, &length)) streamed.append(t, static_cast<size_t>(length)) += '\n';
  if (reader.failed() || streamed != want ||
      DiffLineReader::CountLines(path.c_str()) != static_cast<long>(std::count(
                                                      want.begin(), want.end(), '\n'))) {
    __builtin_trap();
  }
  file* f = FileF_File(path.c_str(), 0, FILE_LOAD_MUST_EXIST);
  unlink(path.c_str());
  if (!f) {
    // A process has a million temporary names; past them loading fails.
    char* name = tmp1name("probe");
    if (!name) return 0;
    __builtin_trap();
  }
  std::string got;
  for (line* l = f->firstLine; l; l = l->next) {
    const char* t = FileLineText(f, l);
    if (!t) __builtin_trap();
    got.append(t, static_cast<size_t>(l->length));
    got += '\n';
  }
  bool recordedFinal = !(f->flags & FILE_NO_FINAL_NEWLINE);
  if (got != want || (f->lineCount > 0 && recordedFinal != finalNewline)) __builtin_trap();
  FileFree(f);
  return 0;
}
