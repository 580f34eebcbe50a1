// The configuration tests' fixture: every option back to its table default,
// hooks cleared, the debug switches at their defaults, messages captured by
// severity, and a private HOME and program directory on request.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config.h"
#include "config/config_dirs.h"
#include "config/config_hooks.h"
#include "config/config_vars.h"
#include "test_support.h"

struct CapturedMessage {
  int code;
  std::string text;
};

inline std::vector<CapturedMessage>* g_captured = nullptr;

inline int captureMessage(int code, const char* format, va_list args) {
  char* text = gen_avsprintf(format, args);
  if (g_captured) g_captured->push_back({code, text ? text : ""});
  gen_free(text);
  return code;
}

// Puts every option variable back to zero, null or -1x-1.
inline void clearAllOptions() {
  for (int t = 0; t < cfg_table_count; t++) {
    for (int r = 0; r < cfg_tables[t].count; r++) {
      _ConfigOption* o = &cfg_tables[t].rows[r];
      o->setter = o->type == CFG_FUNCTION ? o->setter : nullptr;
      if (!o->variable) continue;
      switch (o->type) {
        case CFG_BOOLEAN: *static_cast<bool*>(o->variable) = false; break;
        case CFG_INTEGER:
        case CFG_CHOICE: *static_cast<int*>(o->variable) = 0; break;
        case CFG_COLOR:
        case CFG_STRING: gen_strchange(static_cast<char**>(o->variable), nullptr); break;
        case CFG_SIZE: *static_cast<cfg_Size*>(o->variable) = {-1, -1}; break;
      }
    }
  }
  for (cfg_ColorSlot& slot : cfg_colors) slot = cfg_ColorSlot{};
}

class ConfigTest : public testing::Test {
 protected:
  void SetUp() override {
    InitDebugFlag();
    cfg_SetColorHook(nullptr);
    cfg_SetChangeHook(nullptr);
    cfg_SetXResourceLookup(nullptr);
    cfg_SetAfterReadHook(nullptr);
    cfg_CleanupConfigDirs();
    cfg_SetColorNameFile(nullptr);
    clearAllOptions();
    cfg_SetEverythingToDefaults();
    cfg_refresh_mask = 0;
    savedHook_ = gen_domessage;
    gen_domessage = captureMessage;
    g_captured = &messages_;
  }

  void TearDown() override {
    gen_domessage = savedHook_;
    g_captured = nullptr;
    if (root_) restoreEnvironment();
    root_.reset();
  }

  // Messages of one severity (GEN_MSG_ERROR, GEN_MSG_PRINTF, ...) joined.
  std::string messages(int code) const {
    std::string out;
    for (const auto& m : messages_) {
      if (m.code == code) out += m.text;
    }
    return out;
  }
  std::string errors() const { return messages(GEN_MSG_ERROR); }
  std::string printed() const { return messages(GEN_MSG_PRINTF); }
  int count(int code) const {
    int n = 0;
    for (const auto& m : messages_) n += m.code == code;
    return n;
  }
  void clearMessages() { messages_.clear(); }

  // A private tree: <root>/home as HOME, <root>/prog as the program
  // directory, and `progname` as the program's name.
  void useSandbox(const char* progname) {
    root_ = std::make_unique<test_support::ScratchDir>();
    std::filesystem::create_directories(home());
    std::filesystem::create_directories(prog());
    const char* h = getenv("HOME");
    savedHome_ = h ? h : "";
    hadHome_ = h != nullptr;
    savedName_ = gen_getprogname();
    const char* dir = gen_getprogdir();
    savedDir_ = dir ? dir : "";
    setenv("HOME", home().c_str(), 1);
    gen_changeprogdir(prog().c_str());
    gen_changeprogname(progname);
  }

  std::filesystem::path home() const { return root_->path() / "home"; }
  std::filesystem::path prog() const { return root_->path() / "prog"; }

  static void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  std::vector<CapturedMessage> messages_;

 private:
  void restoreEnvironment() {
    if (hadHome_) setenv("HOME", savedHome_.c_str(), 1);
    else unsetenv("HOME");
    gen_changeprogdir(savedDir_.empty() ? nullptr : savedDir_.c_str());
    gen_changeprogname(savedName_.c_str());
  }

  gen_domessage_fn savedHook_ = nullptr;
  std::unique_ptr<test_support::ScratchDir> root_;
  std::string savedHome_, savedName_, savedDir_;
  bool hadHome_ = false;
};

inline const char* colorText(cfg_ColorId id) { return cfg_colors[id].text; }
