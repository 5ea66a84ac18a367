// libFuzzer target: the reader of the instrument's temperature block.
// The input is read as a block on its own and, placed after an instrument picture's header,
// as a whole picture file. The reader must look at no byte beyond what it is given, and what
// it accepts must be a thermogram it would write again byte for byte.

#include "thermogramformat.h"

#include <QtEndian>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void check(const std::optional<Thermogram> &read, const char *block, size_t size)
{
    if (!read)
        return;
    const Thermogram &t = *read;
    if (!t.isValid() || t.planeSize.width() > ThermogramFormat::MaxPlaneSide
        || t.planeSize.height() > ThermogramFormat::MaxPlaneSide)
        std::abort();
    const double hottest = t.celsiusAt(t.hottestCell());
    const double coldest = t.celsiusAt(t.coldestCell());
    if (!(coldest <= hottest) || coldest < ThermogramFormat::MinCelsius
        || hottest > ThermogramFormat::MaxCelsius || !(t.emissivity > 0 && t.emissivity <= 1)
        || !t.captureTime.isValid())
        std::abort();
    const QByteArray again = ThermogramFormat::writeBlock(t);
    if (size_t(again.size()) > size || std::memcmp(again.constData(), block, again.size()) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A buffer of the input's own size, so ASan sees any read past it.
    const std::unique_ptr<char[]> block(new char[size ? size : 1]);
    std::memcpy(block.get(), data, size);
    check(ThermogramFormat::readBlock(block.get(), qint64(size)), block.get(), size);

    // The same bytes as the trailer of a picture file, cut or padded to the file's size.
    static QByteArray file = [] {
        QByteArray bytes(int(ThermogramFormat::FileSize), '\0');
        bytes[0] = 'B';
        bytes[1] = 'M';
        qToLittleEndian<quint32>(quint32(ThermogramFormat::DeclaredBmpSize), bytes.data() + 2);
        return bytes;
    }();
    const size_t room = size_t(ThermogramFormat::BlockCapacity);
    const size_t used = size < room ? size : room;
    char *trailer = file.data() + ThermogramFormat::DeclaredBmpSize;
    std::memset(trailer, 0, room);
    std::memcpy(trailer, data, used);
    check(ThermogramFormat::read(file), trailer, room);
    return 0;
}
