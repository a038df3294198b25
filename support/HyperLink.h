#pragma once
// Opening a web address in the user's browser.

#include <QString>
#include <cstdint>

namespace HyperLink {

// The makers' web site, opened by the about box's link: the build's
// VANTOREL_HOMEPAGE, or a placeholder under the reserved example.org domain
// while the project has no home page.
#ifdef VANTOREL_HOMEPAGE
inline constexpr char WebSiteAddress[] = VANTOREL_HOMEPAGE;
#else
inline constexpr char WebSiteAddress[] = "https://vantorel.example.org/";
#endif

// Asks the desktop to open the address and returns without waiting for the
// browser: nonzero when the request was handed over, 0 otherwise.
std::int32_t OpenLink(const QString& address);

} // namespace HyperLink
