// GoogleTest's main for the tests without Qt, in a home of their own.

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    velkor::testing::UseTemporaryHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
