// The checked-in art must be exactly what the generator draws, so that
// re-tuning the generator and the files can never drift apart.
#include "ArtSet.h"
#include "FrameFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

TEST(RegenerationTest, GeneratorReproducesTheCheckedInFilesByteForByte) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("kuvito-art-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    kuvito::art::writeArtSet(folder);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
        const auto name = entry.path().filename();
        EXPECT_EQ(FrameFile::readBytes(entry.path()), FrameFile::readBytes(FrameFile::artDir() / name))
            << name << " differs from the checked-in file; run the regenerate-art target";
    }
    EXPECT_EQ(files, 7);
    std::filesystem::remove_all(folder);
}

} // namespace
