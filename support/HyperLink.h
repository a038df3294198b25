#pragma once
// Opening a web address in the user's browser.

#include <QString>
#include <cstdint>

namespace HyperLink {

// The makers' web site, opened by the about box's link. A placeholder under
// the reserved example.org domain until the project has a home page.
inline constexpr char WebSiteAddress[] = "https://vantorel.example.org/";

// Asks the desktop to open the address and returns without waiting for the
// browser: nonzero when the request was handed over, 0 otherwise.
std::int32_t OpenLink(const QString& address);

} // namespace HyperLink
