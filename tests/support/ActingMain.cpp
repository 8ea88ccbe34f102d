// main of the GoogleTest programs that act as Varokinto for the hook library: the tests run
// in a copy of the program that runs as varokint.exe (tests/support/StandInWindow.h).
#include "tests/support/StandInWindow.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const int copyExit = wt::RunAsVarokinto(argc, argv);
    if (copyExit >= 0) return copyExit;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
