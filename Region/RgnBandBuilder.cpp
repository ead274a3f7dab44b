#include "RgnBandBuilder.h"

void RgnBandBuilder::addRow(std::int32_t y, const std::vector<std::int32_t>& runs) {
    if (!bandRuns_.empty() && y == bandBottom_ && runs == bandRuns_) {
        bandBottom_ = y + 1;
        return;
    }
    flush();
    if (runs.empty())
        return;
    bandRuns_ = runs;
    bandTop_ = y;
    bandBottom_ = y + 1;
}

void RgnBandBuilder::flush() {
    for (std::size_t i = 0; i + 1 < bandRuns_.size(); i += 2)
        rects_.push_back({bandRuns_[i], bandTop_, bandRuns_[i + 1], bandBottom_});
    bandRuns_.clear();
}

std::vector<RgnRect> RgnBandBuilder::finish() {
    flush();
    return std::move(rects_);
}
