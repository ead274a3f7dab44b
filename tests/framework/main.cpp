#include <gtest/gtest.h>

#include "Application.h"

// One application object for the whole run: widgets, menus and the
// exception-catching notify() all need it.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
