// main() of the Qt test programs of this folder: the application object must
// exist before any widget or the clipboard is touched. It is the program's
// own TabuloApplication so that the error handler's notify() is under test.
#include "platform/error_handler.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    tabulo::platform::TabuloApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
