#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A checked-in frame read back from its bytes, decoded independently of the
// generator's writer so that the tests see the file the way a reader of
// 24-bit bitmaps does: rows bottom first, blue-green-red, padded to 4 bytes.
class FrameFile {
public:
    struct Pixel {
        std::uint8_t r = 0;
        std::uint8_t g = 0;
        std::uint8_t b = 0;
        bool operator==(const Pixel&) const = default;
        auto operator<=>(const Pixel&) const = default;
    };

    static std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
    static std::filesystem::path artDir() { return KUVITO_ART_SOURCE_DIR; }

    explicit FrameFile(const std::string& name);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    int width() const { return 53; }
    int height() const { return 87; }
    Pixel at(int x, int y) const;
    bool isBackground(int x, int y) const;
    // True for a figure pixel with a background pixel (or the picture's
    // border) among its 4 or, with diagonals, 8 neighbours.
    bool onEdge(int x, int y, bool diagonals) const;
    // The runs of figure pixels of one row, as [start, end) column pairs.
    std::vector<std::pair<int, int>> runs(int y) const;
    // Background pixels that cannot reach the picture's border through
    // background: they become holes in the outline.
    int enclosedBackground() const;
    // Rectangles of the outline: one per run, identical consecutive rows merged.
    int outlineRectangles() const;

private:
    std::vector<std::uint8_t> bytes_;
};
