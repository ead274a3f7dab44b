#include "FrameFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

const FrameFile::Pixel background{0, 128, 192};

} // namespace

std::vector<std::uint8_t> FrameFile::readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

FrameFile::FrameFile(const std::string& name) : bytes_(readBytes(artDir() / name)) {
    if (bytes_.size() != 13974) {
        throw std::runtime_error(name + " has the wrong size");
    }
}

FrameFile::Pixel FrameFile::at(int x, int y) const {
    const std::size_t at = 54 + std::size_t(height() - 1 - y) * 160 + std::size_t(x) * 3;
    return {bytes_[at + 2], bytes_[at + 1], bytes_[at]};
}

bool FrameFile::isBackground(int x, int y) const {
    return at(x, y) == background;
}

bool FrameFile::onEdge(int x, int y, bool diagonals) const {
    if (isBackground(x, y)) {
        return false;
    }
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0 && dy == 0) || (!diagonals && dx != 0 && dy != 0)) {
                continue;
            }
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= width() || ny >= height() || isBackground(nx, ny)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<std::pair<int, int>> FrameFile::runs(int y) const {
    std::vector<std::pair<int, int>> out;
    int x = 0;
    while (x < width()) {
        while (x < width() && isBackground(x, y)) {
            ++x;
        }
        if (x == width()) {
            break;
        }
        const int start = x;
        while (x < width() && !isBackground(x, y)) {
            ++x;
        }
        out.emplace_back(start, x);
    }
    return out;
}

int FrameFile::enclosedBackground() const {
    std::vector<char> reached(std::size_t(width() * height()), 0);
    std::vector<std::pair<int, int>> pending;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= width() || y >= height() || !isBackground(x, y)) {
            return;
        }
        char& r = reached[std::size_t(y * width() + x)];
        if (!r) {
            r = 1;
            pending.emplace_back(x, y);
        }
    };
    for (int x = 0; x < width(); ++x) {
        visit(x, 0);
        visit(x, height() - 1);
    }
    for (int y = 0; y < height(); ++y) {
        visit(0, y);
        visit(width() - 1, y);
    }
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    int enclosed = 0;
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            enclosed += isBackground(x, y) && !reached[std::size_t(y * width() + x)];
        }
    }
    return enclosed;
}

int FrameFile::outlineRectangles() const {
    int count = 0;
    std::vector<std::pair<int, int>> previous;
    for (int y = 0; y < height(); ++y) {
        const auto current = runs(y);
        if (current != previous) {
            count += int(current.size());
        }
        previous = current;
    }
    return count;
}
