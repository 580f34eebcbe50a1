// Helpers of the syntax tests (see syn_test_util.h).
#include "syn_test_util.h"

#include "base/gen.h"
#include "libs/libcxxutil/options_database.h"
#include "syntax/syn_definition.h"
#include "syntax/syn_report.h"

namespace syntest {

MessageCapture* MessageCapture::active_ = nullptr;

MessageCapture::MessageCapture() : previous_(reinterpret_cast<void*>(gen_domessage)) {
  active_ = this;
  gen_domessage = Capture;
}

MessageCapture::~MessageCapture() {
  gen_domessage = reinterpret_cast<gen_domessage_fn>(previous_);
  active_ = nullptr;
}

int MessageCapture::Capture(int code, const char* format, va_list args) {
  char* text = gen_avsprintf(format, args);
  if (active_) {
    active_->text_ += text;
  }
  gen_free(text);
  return code;
}

std::unique_ptr<synLanguage> Build(const std::string& definition, MessageCapture* messages) {
  std::unique_ptr<MessageCapture> own;
  if (!messages) own = std::make_unique<MessageCapture>();
  ut_options_database database;
  syn_PrepareDatabase(&database);
  database.read_from_string(definition, "test.gsl");
  return syn_BuildLanguage(*database.get_root_node(), "test.gsl", false,
                           database.get_error_count());
}

std::string ShippedDir() { return std::string(DIFFVIEW_SOURCE) + "/data/defaults/syntax_coloring"; }

static char ClassLetter(synState status) {
  const std::pair<synState, char> letters[] = {
      {SYN_KEYWORD, 'K'}, {SYN_PREPROCESSOR, 'P'}, {SYN_COMMENT, 'C'}, {SYN_LINE_COMMENT, 'L'},
      {SYN_STRING, 'S'},  {SYN_STRING2, 's'},      {SYN_CHARACTER, 'H'}, {SYN_CHARACTER2, 'h'},
      {SYN_BLOCK, 'B'},   {SYN_INTEGER, 'I'},      {SYN_FLOAT, 'F'},     {SYN_CUSTOMIZED, 'U'},
      {SYN_DEAD_CODE, 'D'}};
  for (const auto& [state, letter] : letters)
    if (GetPureSyntaxStatus(status) == state) return letter;
  return '.';
}

namespace {

struct RenderContext {
  std::string out;
  int covered = 0;
  bool gap = false;
};

void AppendRun(synLanguageInterface*, void* context, const char* text, int start,
               int count, synState status) {
  auto* r = static_cast<RenderContext*>(context);
  if (start != r->covered) r->gap = true;
  r->covered = start + count;
  if (!r->out.empty()) r->out += '|';
  r->out += ClassLetter(status);
  r->out += ':';
  r->out.append(text + start, count);
}

}  // namespace

std::string Render(synLanguageInterface* language, const std::string& line,
                   synLineStart start, bool everyPiece, synState* end) {
  RenderContext r;
  language->SetOpenPairIndex(syn_CondPairIndex(start.condition));
  const int n = static_cast<int>(line.size());
  const synState s = language->CalculateTextSynstate(start.state, line.data(), 0, n, n,
                                                     everyPiece, AppendRun, &r, nullptr);
  if (end) *end = s;
  if (r.gap || r.covered != n) r.out += " <GAP>";
  return r.out;
}

std::vector<synLineStart> StartStates(synLanguageInterface* language,
                                      const std::vector<std::string>& lines) {
  std::vector<synLineStart> starts;
  for (size_t i = 0; i < lines.size(); i++) {
    if (i == 0) {
      starts.push_back(syn_GetSynstate(language, nullptr, nullptr, 0));
      continue;
    }
    const std::string& prev = lines[i - 1];
    starts.push_back(syn_GetSynstate(language, &starts.back(), prev.data(),
                                     static_cast<int>(prev.size())));
  }
  return starts;
}

std::vector<std::string> RenderLines(synLanguageInterface* language,
                                     const std::vector<std::string>& lines) {
  const std::vector<synLineStart> starts = StartStates(language, lines);
  std::vector<std::string> out;
  for (size_t i = 0; i < lines.size(); i++) out.push_back(Render(language, lines[i], starts[i]));
  return out;
}

}  // namespace syntest
