// Debug switch table: lookup, switch files, constraint rule and sharing.
#include "base/debugflag.h"

#include <gtest/gtest.h>
