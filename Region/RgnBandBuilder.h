#pragma once

#include "RgnRect.h"

#include <cstdint>
#include <vector>

// Builds the banded form of a region straight from its pixel runs, given row
// by row from the top: consecutive rows with identical runs become one band,
// and every run of a band one rectangle. This is the form a region's data
// takes when one-row rectangles are united, so no general region arithmetic
// is needed. The runs of one row must be sorted and must not touch.
class RgnBandBuilder {
public:
    // Adds the runs (start, end exclusive pairs) of row y. Rows must come in
    // increasing order; a row that is skipped has no runs.
    void addRow(std::int32_t y, const std::vector<std::int32_t>& runs);
    // Ends the last band and gives the rectangles, band by band from the top
    // and from the left within a band.
    std::vector<RgnRect> finish();

private:
    void flush();

    std::vector<RgnRect> rects_;
    std::vector<std::int32_t> bandRuns_; // pairs of start, end
    std::int32_t bandTop_ = 0;
    std::int32_t bandBottom_ = 0;
};
