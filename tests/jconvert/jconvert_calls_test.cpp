// libjconvert, called from C.
#include <gtest/gtest.h>

extern "C" int jconvertCallsFromC(void);

TEST(JconvertC, CallsFromCGiveTheSameResults) {
    EXPECT_EQ(jconvertCallsFromC(), 0) << "the number is the failed check in jconvert_calls.c";
}
