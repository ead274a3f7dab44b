#pragma once

#include "DrawSource.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <vector>

// Draws that a test says in advance. Once the script is used up every draw
// is n - 1, the plainest draw there is: of thirty it neither pauses nor
// turns, of ninety it makes no vertical step. A scripted draw that does not
// fit the range asked for fails the test.
class ScriptedDraws : public DrawSource {
public:
    void script(std::initializer_list<int> draws) { draws_.insert(draws_.end(), draws); }
    std::size_t left() const { return draws_.size(); }
    // The n of every draw asked for, in order.
    const std::vector<int>& ranges() const { return ranges_; }

    void seed(std::uint32_t) override {}
    int draw(int n) override {
        ranges_.push_back(n);
        if (draws_.empty())
            return n - 1;
        const int next = draws_.front();
        draws_.pop_front();
        if (next < 0 || next >= n)
            ADD_FAILURE() << "scripted draw " << next << " is outside 0.." << n - 1;
        return next;
    }

private:
    std::deque<int> draws_;
    std::vector<int> ranges_;
};
