// The vendor's contact data, in one place. A vendor changes these values (and rebuilds);
// the window title, the chat link, the ordering link and the exe's version record follow.
// Macros as well as constants: the resource script reads this file too.
#pragma once

// Name the vendor trades under.
#define QELVANE_VENDOR_NAME "Qelvane 推广工作室"
// QQ number, decimal digits.
#define QELVANE_VENDOR_QQ "800012345"
// Host name of the vendor's own web site (shown in the title, sent in the chat link).
#define QELVANE_VENDOR_WEB_HOST "www.qelvane.example"
// Host name of the ordering site.
#define QELVANE_VENDOR_ORDER_HOST "order.qelvane.example"

#ifndef RC_INVOKED
namespace qelvane::vendor {

inline constexpr char kName[] = QELVANE_VENDOR_NAME;
inline constexpr char kQqNumber[] = QELVANE_VENDOR_QQ;
inline constexpr char kWebHost[] = QELVANE_VENDOR_WEB_HOST;
inline constexpr char kOrderHost[] = QELVANE_VENDOR_ORDER_HOST;

}  // namespace qelvane::vendor
#endif
