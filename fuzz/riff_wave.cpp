// The RIFF wave walker over any bytes: a clip it accepts lies wholly inside
// the image and holds whole sample frames.

#include "platform/RiffWave.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView image(data, static_cast<qsizetype>(size));
    if (const auto clip = platform::parseWave(image)) {
        if (clip->blockAlign == 0 || clip->dataSize <= 0 ||
            clip->dataSize % clip->blockAlign != 0 || clip->dataOffset < 0 ||
            clip->dataOffset + clip->dataSize > image.size())
            std::abort();
    }
    return 0;
}
