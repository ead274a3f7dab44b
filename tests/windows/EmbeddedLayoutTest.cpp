// The Windows build embeds the stored layout from a checked-in file with a
// CMake script instead of tools/layoutbuilder; what the program carries must
// be that file's bytes, every one.
#include "MascotLayout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

TEST(EmbeddedLayout, IsTheCheckedInFile) {
    std::ifstream in(KUVITO_LAYOUT_FILE, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(MascotLayoutData() == file);
}
