#pragma once
// The picture files a replay runs through, and one picture read into a
// frame. Paths are the bytes the system gave, so every name it allows works,
// whether or not it is valid UTF-8.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace replay {

// The frame files of the paths, in order: a file is one frame, a directory
// gives its picture files (by suffix, hidden ones left out) in byte order of
// their names. Answers false with a message naming the first path that
// cannot be listed and why.
bool listFrameFiles(const std::vector<QByteArray>& paths, std::vector<QByteArray>& files,
                    QString& error);

// One picture as a 160 x 120 x 24-bit bottom-up frame. Only a regular file
// is read; a picture that is damaged or ends early is refused. Answers false
// with a message naming the file and why.
bool readFrame(const QByteArray& path, std::vector<std::uint8_t>& frame, QString& error);

// A path as text for a message: as it stands when it is UTF-8, otherwise
// with every byte beyond ASCII written as \xNN.
QString displayName(const QByteArray& path);

} // namespace replay
