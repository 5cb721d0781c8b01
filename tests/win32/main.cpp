// The test program doubles as its own helper process: "--child ROLE ARGS..." plays one role of a
// cross-process test and never returns to the tests.
#include <cstring>

#include <gtest/gtest.h>

#include "tests/win32/child_roles.h"

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        return qfd::test::RunChildRole(argc - 2, argv + 2);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
