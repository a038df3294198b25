// The resource reader: every carried resource is found by its id and type
// name, each is its own, and nothing else is found.

#include "platform/ResourceReader.h"

#include <QList>
#include <gtest/gtest.h>

TEST(ResourceReader, FindsEachCarriedResourceWithItsFileSignature) {
    // The clips, the display font (TrueType 1.0) and the help file.
    // clang-format off
    const std::tuple<int, const char*, QByteArray> rows[] = {
        {100, "WAVE", "RIFF"}, {101, "WAVE", "RIFF"}, {102, "WAVE", "RIFF"}, {103, "WAVE", "RIFF"},
        {104, "WAVE", "RIFF"}, {105, "WAVE", "RIFF"},
        {100, "BIN", QByteArray("\0\1\0\0", 4)}, {101, "BIN", "ITSF"}};
    // clang-format on
    QList<QByteArray> seen;
    for (const auto& [id, type, signature] : rows) {
        const QByteArray data = platform::resourceData(id, QLatin1String(type));
        EXPECT_TRUE(data.startsWith(signature)) << type << " " << id;
        EXPECT_FALSE(seen.contains(data)) << type << " " << id << " has another id's bytes";
        seen.append(data);
    }
    // Next to the ids, another type's id, and type names that are not quite it.
    const std::pair<int, const char*> unknown[] = {{99, "WAVE"},  {106, "WAVE"},  {102, "BIN"},
                                                   {100, "wave"}, {100, "WAVE "}, {100, ""}};
    for (const auto& [id, type] : unknown)
        EXPECT_TRUE(platform::resourceData(id, QLatin1String(type)).isEmpty()) << type << " " << id;
}
