// The adapter's tests run on one single-threaded apartment, like the window's thread, with
// the test double registered for the whole run.

#include "DoubleLibrary.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) {
        std::fputs("OleInitialize failed\n", stderr);
        return 2;
    }
    int result = 2;
    try {
        const tervani_tests::DoubleLibrary library;
        result = RUN_ALL_TESTS();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
    OleUninitialize();
    return result;
}
