#include "support/HyperLink.h"

#include "platform/Shell.h"

namespace HyperLink {

std::int32_t OpenLink(const QString& address) {
    return platform::openAddress(address) ? 1 : 0;
}

} // namespace HyperLink
