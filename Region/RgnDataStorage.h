#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FormValue.h"

// The stored outline of a shaped control (its `RgnData` property), read and
// written the same way by every control that carries one. The block is kept
// as it was stored; it is checked only when a region is built from it.
namespace RgnDataStorage {

// Takes the property's whole content as the block; an empty content leaves
// no block. `name` is the control's, for the message when the content is
// larger than a 32-bit size can say.
void read(const std::string& name, const std::vector<std::uint8_t>& stream,
          std::unique_ptr<std::uint8_t[]>& buf, std::int32_t& size);
// The same, from the stored property value, which must be binary.
void readProperty(const std::string& name, const FormValue& value, std::unique_ptr<std::uint8_t[]>& buf,
                  std::int32_t& size);
// Writes the block, or nothing when there is none.
void write(const std::unique_ptr<std::uint8_t[]>& buf, std::int32_t size, std::vector<std::uint8_t>& stream);

} // namespace RgnDataStorage
