// Process set-up shared by every syntax test: the foundation library, the
// debug switches at their defaults and the configuration at its defaults,
// so that colouring is on with every class switch set.
#include <gtest/gtest.h>

#include "base/debugflag.h"
#include "base/gen.h"
#include "config/config.h"
#include "syntax/syn_colors.h"
#include "syntax/syn_config.h"

namespace {

class SyntaxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gen_init("test_syntax", 0, 0);
    InitDebugFlag();
    cfg_SetEverythingToDefaults();
    syn_ReadConfiguredSettings();
  }
};

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new SyntaxEnvironment);

}  // namespace
