// The fixed content of the price list: which radio box stands for which
// service on which page, and the text the price label shows for it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/Identifiers.h"
#include "ui/form/PropertyNumbers.h"

namespace qelvane {

// The properties the price routine reads and writes.
inline constexpr std::int32_t kLabelCaptionProperty = prop::label::kCaption;   // text
inline constexpr std::int32_t kCurrentPageProperty = prop::tab::kCurrentPage;  // integer
inline constexpr std::int32_t kCheckedProperty = prop::radio::kChecked;        // truth value

inline constexpr char kDefaultPriceText[] = "价格：";

struct Service {
    std::uint32_t radioBoxId;
    const char* priceText;  // GBK, zero-terminated
};

inline constexpr std::size_t kPageCount = 3;
inline constexpr std::size_t kServicesPerPage = 4;

// The page's services in the order the price routine tests them; empty for a
// page index that has none (no page selected, or past the last page).
std::span<const Service> ServicesOfPage(std::int32_t page);

}  // namespace qelvane
