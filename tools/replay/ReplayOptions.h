#pragma once
// The replay tool's command line.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace replay {

struct ReplayOptions {
    std::int32_t sampleEvery = 1;
    std::int32_t compareEvery = 5;
    std::int32_t tolerance = 50;
    std::int32_t maxBeam = 20;
    std::vector<QByteArray> paths; // as the system gave them
    bool help = false;
};

// Parses the arguments after the program name; on a problem answers false
// with a message that names it.
bool parseOptions(const std::vector<QByteArray>& arguments, ReplayOptions& options, QString& error);

QString usageText();

} // namespace replay
