// The process-wide language index and the line services built on the
// language interface: start states from line to line and runs of a line.
#include "syntax/syntax.h"

#include <unistd.h>

#include <memory>

#include "base/gen.h"
#include "syntax/syn_config.h"

namespace {

std::unique_ptr<synIndex> processIndex;

void CollectRun(synLanguageInterface*, void* context, const char*, int start, int count,
                synState status) {
  static_cast<std::vector<synRun>*>(context)->push_back({start, count, status});
}

}  // namespace

void syn_Init(bool) {
  syn_ReadConfiguredSettings();
  if (!processIndex) syn_LoadLanguageIndex();
}

void syn_Cleanup() { processIndex.reset(); }

synIndex* syn_GetIndex() { return processIndex.get(); }

bool syn_LoadLanguageIndex() {
  processIndex = std::make_unique<synIndex>();
  char* path = syn_FindConfigFile("syntax_coloring/index.gsc");
  processIndex->Load(path);
  gen_free(path);
  char* dirs = syn_FindConfigFile("syntax_coloring/qen_editor.gsd");
  syn_ReadSourceDirs(dirs, &processIndex->sourceDirs);
  gen_free(dirs);
  return !processIndex->fileName().empty();
}

synLanguageInterface* syn_LanguageOfFile(const char* path) {
  if (!syn_Settings().colorsyntax) return nullptr;
  if (!processIndex) return nullptr;
  return processIndex->LanguageOfFile(path);
}

synLanguage* syn_GetLanguageFName(const char* name, bool orNone) {
  return processIndex ? processIndex->GetLanguageFName(name, orNone) : nullptr;
}

int syn_GetLanguageFSuffix(const char* suffix, std::vector<synLanguageAbs*>* list, int max) {
  return processIndex ? processIndex->GetLanguageFSuffix(suffix, list, max) : 0;
}

synLanguage* syn_GetLanguageFContent(const char* line, const char* suffix) {
  return processIndex ? processIndex->GetLanguageFContent(line, suffix) : nullptr;
}

char* syn_ResolveFile(const char* name, int mode) {
  static const std::vector<std::string> here{"."};
  return syn_ResolveFileIn(processIndex ? processIndex->sourceDirs : here, name, mode);
}

synLineStart syn_GetSynstate(synLanguageInterface* language, const synLineStart* previous,
                             const char* previousText, int previousLength) {
  if (!previous || !language || language->IsNone() || !syn_Settings().colorsyntax) {
    return {};
  }
  synLineStart next = *previous;
  language->QuickLineParser(&next.state, previous->condition, previousText, previousLength,
                            &next.condition);
  return next;
}

synState syn_ColorLine(synLanguageInterface* language, synLineStart start, const char* text,
                       int length, std::vector<synRun>* runs,
                       const ExtraSyntaxInfoInterface* extra) {
  runs->clear();
  if (!language) {
    if (length > 0) runs->push_back({0, length, 0});
    return 0;
  }
  language->SetOpenPairIndex(syn_CondPairIndex(start.condition));
  return language->CalculateTextSynstate(start.state, text, 0, length, length, false,
                                         CollectRun, runs, extra);
}

synState syn_SynstateAt(synState state, const char* text, int position,
                        synLanguageInterface* language, const ExtraSyntaxInfoInterface* extra) {
  if (!language || position <= 0) return state;
  return language->CalculateTextSynstate(state, text, 0, position, position, true, nullptr,
                                         nullptr, extra);
}
