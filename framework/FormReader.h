#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "StoredComponent.h"

// Reads a binary stored layout ("TPF0" followed by one component tree).
// Standard library only, so that it can be fuzzed. Every length is checked
// against the bytes that are left before anything is allocated, nesting is
// bounded, and bytes after the tree are refused, so that what reads writes
// back identically. Malformed input throws KuvitoError.
class FormReader {
public:
    // Components, lists and collections nested deeper than this are refused.
    static constexpr int maxDepth = 64;

    static StoredComponent read(const std::uint8_t* data, std::size_t size);
    static StoredComponent read(const std::vector<std::uint8_t>& bytes) {
        return read(bytes.data(), bytes.size());
    }
};
