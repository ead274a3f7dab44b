#include "SystemRegion.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace {

struct RegionCloser {
    void operator()(HRGN region) const { ::DeleteObject(region); }
};
using Region = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionCloser>;

} // namespace

std::optional<std::vector<std::uint8_t>> SystemRegion::created(const std::vector<std::uint8_t>& block,
                                                               const Transform* transform) {
    XFORM xform{};
    if (transform)
        xform = {(*transform)[0], (*transform)[1], (*transform)[2],
                 (*transform)[3], (*transform)[4], (*transform)[5]};
    const Region region(::ExtCreateRegion(transform ? &xform : nullptr, static_cast<DWORD>(block.size()),
                                          reinterpret_cast<const RGNDATA*>(block.data())));
    if (!region)
        return std::nullopt;
    const DWORD size = ::GetRegionData(region.get(), 0, nullptr);
    std::vector<std::uint8_t> out(size);
    if (size == 0 || ::GetRegionData(region.get(), size, reinterpret_cast<RGNDATA*>(out.data())) != size)
        return std::vector<std::uint8_t>{};
    return out;
}
