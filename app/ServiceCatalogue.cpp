#include "app/ServiceCatalogue.h"

#include "vendor/VendorData.h"

namespace qelvane {
namespace {

// The price texts of the vendor's price list (vendor/price-list.toml), paired with the
// radio boxes by position: the pairing is by box, as sold, not by the boxes' captions.
constexpr std::array<std::array<Service, kServicesPerPage>, kPageCount> kCatalogue = [] {
    std::array<std::array<Service, kServicesPerPage>, kPageCount> pages{};
    for (std::size_t p = 0; p < kPageCount; ++p)
        for (std::size_t i = 0; i < kServicesPerPage; ++i) pages[p][i] = {kRadioBoxIds[p][i], vendor::kPriceTexts[p][i]};
    return pages;
}();

}  // namespace

std::span<const Service> ServicesOfPage(std::int32_t page) {
    if (page < 0 || static_cast<std::size_t>(page) >= kPageCount) return {};
    return kCatalogue[static_cast<std::size_t>(page)];
}

}  // namespace qelvane
