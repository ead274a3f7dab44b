#include "SystemRegion.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace {

struct RegionCloser {
    void operator()(HRGN region) const { ::DeleteObject(region); }
};
using Region = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionCloser>;

std::vector<std::uint8_t> blockOf(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> out(size);
    if (size == 0 || ::GetRegionData(region, size, reinterpret_cast<RGNDATA*>(out.data())) != size)
        return {};
    return out;
}

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
    return blockOf(region.get());
}

std::vector<std::uint8_t> SystemRegion::united(const std::vector<std::array<int, 4>>& rects) {
    const Region all(::CreateRectRgn(0, 0, 0, 0));
    for (const auto& [left, top, right, bottom] : rects) {
        const Region one(::CreateRectRgn(left, top, right, bottom));
        ::CombineRgn(all.get(), all.get(), one.get(), RGN_OR);
    }
    return blockOf(all.get());
}
