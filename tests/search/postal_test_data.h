// The postal address file the postal tests read, and a test's early exit
// when it is not there.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tabulo::testing {

inline std::string kenAllPath() { return TABULO_KEN_ALL_CSV; }

#define TABULO_REQUIRE_KEN_ALL()                                                                  \
    do {                                                                                          \
        if (tabulo::testing::kenAllPath().empty() ||                                              \
            !std::filesystem::exists(tabulo::testing::kenAllPath()))                              \
            GTEST_SKIP() << "KEN_ALL.CSV not found (set TABULO_KEN_ALL_CSV when configuring)";    \
    } while (false)

}  // namespace tabulo::testing
