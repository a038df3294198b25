// The help file carried as BIN 101: Compiled HTML Help, "ITSF" version 3,
// with its three pages, their pictures, the printable targets, the window
// title and the default page. The directory and the #SYSTEM record are read
// from the bytes, with every read checked against the file's size.

#include "platform/ResourceReader.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>

namespace {

std::optional<std::uint64_t> LittleEndian(const QByteArray& bytes, qsizetype at, int width) {
    if (at < 0 || width <= 0 || at > bytes.size() - width) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

// The variable-length integers of the directory: seven bits a byte, most
// significant first, the top bit set on every byte but the last.
std::optional<std::uint64_t> EncInt(const QByteArray& bytes, qsizetype& at, qsizetype end) {
    std::uint64_t value = 0;
    for (int n = 0; n < 9 && at < end; ++n) {
        const auto byte = static_cast<std::uint8_t>(bytes[at++]);
        value = (value << 7) | (byte & 0x7f);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

struct Entry {
    std::uint64_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct HelpFile {
    std::uint32_t version = 0;
    std::uint64_t contentOffset = 0; // where section 0's data starts
    std::map<QString, Entry> entries;
};

std::optional<HelpFile> ReadHelpFile(const QByteArray& bytes) {
    if (!bytes.startsWith("ITSF")) {
        return std::nullopt;
    }
    HelpFile help;
    const auto version = LittleEndian(bytes, 4, 4);
    const auto directoryOffset = LittleEndian(bytes, 0x48, 8);
    const auto contentOffset = LittleEndian(bytes, 0x58, 8);
    if (!version || !directoryOffset || !contentOffset) {
        return std::nullopt;
    }
    help.version = std::uint32_t(*version);
    help.contentOffset = *contentOffset;
    const auto dir = qsizetype(*directoryOffset);
    if (dir < 0 || dir >= bytes.size() || bytes.mid(dir, 4) != "ITSP") {
        return std::nullopt;
    }
    const auto headerLength = LittleEndian(bytes, dir + 0x08, 4);
    const auto chunkSize = LittleEndian(bytes, dir + 0x10, 4);
    const auto chunkCount = LittleEndian(bytes, dir + 0x2C, 4);
    if (!headerLength || !chunkSize || !chunkCount || *chunkSize < 20) {
        return std::nullopt;
    }
    for (std::uint64_t chunk = 0; chunk < *chunkCount; ++chunk) {
        const qsizetype start = dir + qsizetype(*headerLength) + qsizetype(chunk * *chunkSize);
        const qsizetype size = qsizetype(*chunkSize);
        if (start < 0 || start > bytes.size() - size) {
            return std::nullopt;
        }
        if (bytes.mid(start, 4) != "PMGL") {
            continue; // an index chunk
        }
        const auto freeSpace = LittleEndian(bytes, start + 4, 4);
        if (!freeSpace || qsizetype(*freeSpace) > size - 20) {
            return std::nullopt;
        }
        const qsizetype end = start + size - qsizetype(*freeSpace);
        qsizetype at = start + 20;
        while (at < end) {
            const auto nameLength = EncInt(bytes, at, end);
            if (!nameLength || qsizetype(*nameLength) > end - at) {
                return std::nullopt;
            }
            const QString name = QString::fromUtf8(bytes.mid(at, qsizetype(*nameLength)));
            at += qsizetype(*nameLength);
            const auto section = EncInt(bytes, at, end);
            const auto offset = EncInt(bytes, at, end);
            const auto length = EncInt(bytes, at, end);
            if (!section || !offset || !length) {
                return std::nullopt;
            }
            help.entries[name] = Entry{*section, *offset, *length};
        }
    }
    return help;
}

// The #SYSTEM record: a version, then (code, length, data) fields; code 2 is
// the default page, code 3 the window title.
std::map<int, QByteArray> SystemFields(const QByteArray& bytes, const HelpFile& help) {
    std::map<int, QByteArray> fields;
    const auto found = help.entries.find(QStringLiteral("/#SYSTEM"));
    if (found == help.entries.end() || found->second.section != 0) {
        return fields;
    }
    const auto size = std::uint64_t(bytes.size());
    const Entry& entry = found->second;
    if (help.contentOffset > size || entry.offset > size - help.contentOffset ||
        entry.length > size - help.contentOffset - entry.offset) {
        return fields;
    }
    const std::uint64_t first = help.contentOffset + entry.offset;
    const auto start = static_cast<qsizetype>(first);
    const qsizetype end = start + qsizetype(entry.length);
    for (qsizetype at = start + 4; at + 4 <= end;) {
        const int code = int(*LittleEndian(bytes, at, 2));
        const qsizetype length = qsizetype(*LittleEndian(bytes, at + 2, 2));
        at += 4;
        if (length > end - at) {
            break;
        }
        QByteArray value = bytes.mid(at, length);
        if (value.endsWith('\0')) {
            value.chop(1);
        }
        fields[code] = value;
        at += length;
    }
    return fields;
}

class HelpResource : public ::testing::Test {
protected:
    void SetUp() override {
        bytes_ = platform::LoadResData(101, QStringLiteral("BIN"));
        ASSERT_FALSE(bytes_.isEmpty());
        const auto help = ReadHelpFile(bytes_);
        ASSERT_TRUE(help.has_value()) << "the directory cannot be read";
        help_ = *help;
    }
    bool Has(const char* name) const { return help_.entries.count(QString::fromLatin1(name)) == 1; }

    QByteArray bytes_;
    HelpFile help_;
};

TEST_F(HelpResource, IsCompiledHtmlHelpVersion3) {
    EXPECT_EQ(bytes_.left(4), QByteArray("ITSF"));
    EXPECT_EQ(help_.version, 3u);
}

TEST_F(HelpResource, HoldsTheThreePagesAndTheirContents) {
    for (const char* page : {"/Overview.htm", "/Settings.htm", "/MakeAGun.htm", "/Contents.hhc"}) {
        EXPECT_TRUE(Has(page)) << page;
        EXPECT_TRUE(bytes_.contains(page)) << page;
    }
}

TEST_F(HelpResource, HoldsThePicturesAndThePrintableTargets) {
    for (const char* file : {"/setup.png", "/target.png", "/settings.png", "/circuit.png",
                             "/Target-A4.pdf", "/Target-Letter.pdf"}) {
        EXPECT_TRUE(Has(file)) << file;
    }
}

TEST_F(HelpResource, HasItsWindowTitleAndDefaultPage) {
    EXPECT_TRUE(bytes_.contains("Quillmere Vantorel Help"));
    const std::map<int, QByteArray> fields = SystemFields(bytes_, help_);
    ASSERT_EQ(fields.count(3), 1u) << "no title in #SYSTEM";
    EXPECT_EQ(fields.at(3), QByteArray("Quillmere Vantorel Help"));
    ASSERT_EQ(fields.count(2), 1u) << "no default page in #SYSTEM";
    EXPECT_EQ(fields.at(2), QByteArray("Overview.htm"));
}

TEST_F(HelpResource, DirectoryEntriesLieInsideTheirSections) {
    for (const auto& [name, entry] : help_.entries) {
        if (entry.section == 0 && !name.startsWith(QStringLiteral("::"))) {
            EXPECT_LE(help_.contentOffset + entry.offset + entry.length,
                      std::uint64_t(bytes_.size()))
                << name.toStdString();
        }
    }
}

TEST(HelpReader, TurnsAwayDamagedFiles) {
    const QByteArray good = platform::LoadResData(101, QStringLiteral("BIN"));
    EXPECT_FALSE(ReadHelpFile(QByteArray()).has_value());
    EXPECT_FALSE(ReadHelpFile(QByteArray("ITSF")).has_value());
    EXPECT_FALSE(ReadHelpFile(good.left(0x60)).has_value());
    EXPECT_FALSE(ReadHelpFile(good.left(0x200)).has_value());
    QByteArray noSignature = good;
    noSignature[0] = 'X';
    EXPECT_FALSE(ReadHelpFile(noSignature).has_value());
}

} // namespace
