// The vendor's contact data, in one place. A vendor changes these three values
// (and rebuilds); the window title, the chat link and the ordering link follow.
#pragma once

namespace qelvane::vendor {

// QQ number, decimal digits.
inline constexpr char kQqNumber[] = "800012345";
// Host name of the vendor's own web site (shown in the title, sent in the chat link).
inline constexpr char kWebHost[] = "www.qelvane.example";
// Host name of the ordering site.
inline constexpr char kOrderHost[] = "order.qelvane.example";

}  // namespace qelvane::vendor
