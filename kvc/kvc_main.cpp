// kvc: the suite's own version store from the command line.
//   kvc ci [-m COMMENT] FILE...            check each file in
//   kvc co [-r N | -D DATE] [-o OUT] FILE  a version to standard output or OUT
//   kvc log FILE                           the versions, newest first
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/gen.h"
#include "kvc/kvc.h"

namespace {

int usage() {
  fprintf(stderr,
          "usage: kvc ci [-m COMMENT] FILE...\n"
          "       kvc co [-r N | -D DATE] [-o OUT] FILE\n"
          "       kvc log FILE\n");
  return 2;
}

int failed(const std::string& message) {
  fprintf(stderr, "kvc: error: %s\n", message.c_str());
  return 1;
}

// The options (letter -> value) before the file names; false on an
// unknown option or a missing value.
bool options(int argc, char** argv, int* i, const char* letters, std::string* values) {
  for (; *i < argc && argv[*i][0] == '-' && argv[*i][1] != '\0'; ++*i) {
    if (strcmp(argv[*i], "--") == 0) {
      ++*i;
      return true;
    }
    const char* at = strchr(letters, argv[*i][1]);
    if (!at || argv[*i][2] != '\0' || *i + 1 >= argc) return false;
    values[at - letters] = argv[++*i];
  }
  return true;
}

int checkIn(int argc, char** argv, int i) {
  std::string values[1];
  if (!options(argc, argv, &i, "m", values) || i >= argc) return usage();
  int status = 0;
  for (; i < argc; i++) {
    int number = 0;
    std::string error;
    if (!kvc_CheckIn(argv[i], values[0], &number, &error)) {
      status = failed(error);
      continue;
    }
    printf("%s: version %d\n", argv[i], number);
  }
  return status;
}

bool writeAll(FILE* out, const std::string& text) {
  return fwrite(text.data(), 1, text.size(), out) == text.size() && fflush(out) == 0;
}

int checkOut(int argc, char** argv, int i) {
  std::string values[3];  // -r, -D, -o
  if (!options(argc, argv, &i, "rDo", values) || i + 1 != argc) return usage();
  int number = 0;
  int64_t date = 0;
  if (!values[0].empty() && (number = atoi(values[0].c_str())) < 1)
    return failed("bad version number \"" + values[0] + "\"");
  if (!values[1].empty() && !kvc_ParseDate(values[1], &date))
    return failed("bad date \"" + values[1] + "\"");
  if (values[0].empty() && values[1].empty()) date = INT64_MAX;
  std::string text, error;
  if (!kvc_Fetch(argv[i], number, date, &text, &error)) return failed(error);
  if (!values[2].empty()) return kvc_WriteFile(values[2], text, &error) ? 0 : failed(error);
  return writeAll(stdout, text) ? 0 : failed("cannot write to standard output");
}

int showLog(int argc, char** argv, int i) {
  if (!options(argc, argv, &i, "", nullptr) || i + 1 != argc) return usage();
  std::string error;
  std::unique_ptr<KvcLog> log = KvcLog::readFor(argv[i], &error);
  if (!log) return failed(error);
  for (auto v = log->versions().rbegin(); v != log->versions().rend(); ++v)
    printf("version %d  %s  %s\n%s%s", v->number, kvc_FormatDate(v->date).c_str(),
           v->author.c_str(), v->comment.c_str(),
           v->comment.empty() || v->comment.back() == '\n' ? "" : "\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  gen_init(argv[0], 0, 0);
  if (argc < 3) return usage();
  const std::string command = argv[1];
  if (command == "ci") return checkIn(argc, argv, 2);
  if (command == "co") return checkOut(argc, argv, 2);
  if (command == "log") return showLog(argc, argv, 2);
  return usage();
}
