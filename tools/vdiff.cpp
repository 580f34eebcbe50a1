// vdiff: the difference engine on the command line.  It reads both files
// line by line as the text model loads them (CR LF ends count as LF) and
// compares them with the viewer's engine and options, holding no text in
// memory, then prints one "S1,E1 S2,E2" line per difference, a unified
// diff (-u), or the edit script of the named-file comparison (-script).
// Exit status: 0 identical, 1 different, 2 trouble (message on stderr).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/gen.h"
#include "config/config_vars.h"
#include "diff/diff.h"
#include "text/file.h"
#include "tools/vdiff_unified.h"

namespace {

enum class Mode { Ranges, Unified, Script };

struct Request {
  int options = 0;
  Mode mode = Mode::Ranges;
  const char* name1 = nullptr;
  const char* name2 = nullptr;
};

constexpr int kIdentical = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

const char kUsage[] =
    "usage: vdiff [-b] [-w] [-i] [-lang=c] [-refine | -norefine] [-u | -script] FILE1 FILE2\n"
    "  -b       ignore the amount of whitespace\n"
    "  -w       ignore all whitespace\n"
    "  -i       ignore letter case\n"
    "  -lang=c  ignore whitespace between C tokens\n"
    "  -refine  pair the equal lines left between the engine's pairings by a\n"
    "           longest common subsequence (the default; repetitive files)\n"
    "  -norefine  keep the engine's first pairing exactly\n"
    "  -u       print a unified diff (3 lines of context)\n"
    "  -script  print the edit script that rebuilds FILE2 from FILE1\n"
    "Prints one \"S1,E1 S2,E2\" line per difference: lines S1..E1-1 of FILE1\n"
    "against lines S2..E2-1 of FILE2.  Line ends (LF or CR LF) do not count;\n"
    "a missing final newline does (the last line differs).  Exit status 0 when\n"
    "the files are identical, 1 when they differ, 2 on trouble.\n";

bool SetOption(Request& r, const char* arg) {
  if (strcmp(arg, "-b") == 0) r.options |= DIFF_IGNORE_SPACE_AMOUNT;
  else if (strcmp(arg, "-w") == 0) r.options |= DIFF_IGNORE_ALL_SPACE;
  else if (strcmp(arg, "-i") == 0) r.options |= DIFF_IGNORE_CASE;
  else if (strcmp(arg, "-lang=c") == 0) r.options |= DIFF_C_TOKENS;
  else if (strcmp(arg, "-refine") == 0) cfg_diff_refine = true;
  else if (strcmp(arg, "-norefine") == 0) cfg_diff_refine = false;
  else if (strcmp(arg, "-u") == 0 && r.mode != Mode::Script) r.mode = Mode::Unified;
  else if (strcmp(arg, "-script") == 0 && r.mode != Mode::Unified) r.mode = Mode::Script;
  else return false;
  return true;
}

// Returns -1 to go on, or the exit status when the command line ends the run.
int ParseArguments(int argc, char** argv, Request& r) {
  int k = 1;
  for (; k < argc && argv[k][0] == '-' && argv[k][1] != '\0'; ++k) {
    if (strcmp(argv[k], "--") == 0) {
      ++k;
      break;
    }
    if (strcmp(argv[k], "-h") == 0 || strcmp(argv[k], "--help") == 0) {
      fputs(kUsage, stdout);
      return kIdentical;
    }
    if (!SetOption(r, argv[k])) {
      gen_error("Unknown or conflicting option: %s", argv[k]);
      fputs(kUsage, stderr);
      return kTrouble;
    }
  }
  if (argc - k != 2) {
    gen_error("Expected two file names");
    fputs(kUsage, stderr);
    return kTrouble;
  }
  if (r.mode == Mode::Script && r.options != 0) {
    gen_error("-script compares the files as they are; it takes no -b, -w, -i or -lang=c");
    return kTrouble;
  }
  r.name1 = argv[k];
  r.name2 = argv[k + 1];
  return -1;
}

bool WriteRanges(const VdiffBlock* blocks, int count) {
  for (int k = 0; k < count; ++k) {
    const VdiffBlock& b = blocks[k];
    printf("%d,%d %d,%d\n", b.start1, b.end1, b.start2, b.end2);
  }
  return fflush(stdout) == 0 && !ferror(stdout);
}

int Finish(bool written, int status) {
  if (written) return status;
  gen_error("Cannot write the output");
  return kTrouble;
}

// Both output forms come from the same blocks, so they agree on what
// differs: line ends (LF or CR LF) do not count, a missing final newline
// does (the last line then differs).
int Report(const Request& r, const diffInfo* info) {
  const VdiffFiles files = VdiffDescribe(r.name1, r.name2, info);
  int count = 0;
  VdiffBlock* blocks = VdiffBlocks(info, files, &count);
  bool written;
  if (r.mode == Mode::Unified) {
    written = VdiffWriteUnified(stdout, files, blocks, count);
  } else if (count == 0) {
    puts("Files are identical.");
    written = fflush(stdout) == 0;
  } else {
    written = WriteRanges(blocks, count);
  }
  gen_free(blocks);
  return Finish(written, count ? kDifferent : kIdentical);
}

int CompareFiles(const Request& r) {
  diffInfo* info = diff_files(r.name1, r.name2, r.options);
  if (!info) return kTrouble;
  const int status = Report(r, info);
  diff_free(info);
  return status;
}

bool Identity(const diffInfo* info) {
  if (info->firstCount != info->secondCount) return false;
  for (int32_t k = 1; k <= info->firstCount; ++k) {
    if (!info->secondLines[k].matched || info->secondLines[k].partner != k) return false;
  }
  return true;
}

// Prints the script one string per line.  Literal lines are written from
// the result's texts with their lengths, so NUL bytes survive; a literal
// line that already ends in a newline gets no second one.
void WriteScript(const diffInfo* info, char** script, int count) {
  int j = 1;  // the side-2 line the next instruction produces
  for (int k = 0; k < count; ++k) {
    fputs(script[k], stdout);
    putc('\n', stdout);
    int first = 0, last = 0;
    if (sscanf(script[k], "m%d,%d", &first, &last) == 2) {
      j += last - first + 1;
    } else if (script[k][0] == 'm') {
      ++j;
    } else {
      for (int added = atoi(script[k] + 1); added > 0; --added, ++j, ++k) {
        long length = 0;
        const char* text = diff_LineText(info, 2, j, &length);
        fwrite(text, 1, static_cast<size_t>(length), stdout);
        if (length == 0 || text[length - 1] != '\n') putc('\n', stdout);
      }
    }
  }
}

int RunScript(const Request& r) {
  int count = 0;
  char** script = nullptr;
  diffInfo* info = diff_kvc2(r.name1, r.name2, &count, &script);
  if (!info) return kTrouble;
  WriteScript(info, script, count);
  const int status = Identity(info) ? kIdentical : kDifferent;
  diff_freescript(count, script);
  diff_free(info);
  return Finish(fflush(stdout) == 0 && !ferror(stdout), status);
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  Request request;
  const int parsed = ParseArguments(argc, argv, request);
  if (parsed >= 0) return parsed;
  if (FileCheckAccess(request.name1, FILE_LOAD_MUST_EXIST) < 0 ||
      FileCheckAccess(request.name2, FILE_LOAD_MUST_EXIST) < 0) {
    return kTrouble;
  }
  if (request.mode == Mode::Script) return RunScript(request);
  return CompareFiles(request);
}
