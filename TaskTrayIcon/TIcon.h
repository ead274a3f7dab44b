#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "IconHandle.h"

class IconImage;

// An icon as the program keeps it: the bytes of an .ico file and the image
// decoded from them. The bytes are kept so that a stored layout can be
// written back exactly as it was read.
class TIcon {
public:
    TIcon() = default;

    bool empty() const { return data_.empty(); }
    // The .ico file this icon was loaded from; empty for an empty icon.
    const std::vector<std::uint8_t>& data() const { return data_; }
    // The decoded image as the desktop takes it, no icon for an empty one.
    // Valid until the icon changes or goes.
    IconHandle handle() const;

    // Copies another icon's image into this one.
    void assign(const TIcon& other);
    void clear();
    // Loads an .ico file. Throws KuvitoError (InvalidPicture) when the bytes
    // are not an icon the toolkit can decode; the icon is then unchanged.
    void loadFromIcoFile(std::vector<std::uint8_t> bytes);

    // The stored-layout form of the icon ("Icon.Data"): a 32-bit
    // little-endian byte count followed by the .ico file. readData throws
    // KuvitoError (InvalidPicture) when the count reaches past the stored
    // bytes or the file does not decode.
    void readData(const std::vector<std::uint8_t>& stored);
    std::vector<std::uint8_t> writeData() const;

private:
    std::vector<std::uint8_t> data_;
    // Shared between copies: an image is never changed once decoded.
    std::shared_ptr<const IconImage> image_;
};
