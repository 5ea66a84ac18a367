// libFuzzer target: the picture test of a candidate file, on the bytes its first read returned.
// The check must look at no byte beyond the length it is given and accept exactly the
// instrument's header; the input is handed over in a buffer of its own size, so ASan sees
// any read past it.

#include "pictureheader.h"

#include <QtEndian>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::unique_ptr<char[]> header(new char[size ? size : 1]);
    std::memcpy(header.get(), data, size);
    const bool accepted = PictureHeader::isInstrumentPicture(header.get(), qint64(size));
    const bool expected = size == size_t(PictureHeader::HeaderSize)
        && qFromLittleEndian<quint32>(data + 2) == PictureHeader::DeclaredSize;
    if (accepted != expected)
        std::abort();
    // A read that came back short is never a picture, whatever the bytes say.
    if (size > 6 && PictureHeader::isInstrumentPicture(header.get(), qint64(size) - 1)
        && size - 1 != size_t(PictureHeader::HeaderSize))
        std::abort();
    return 0;
}
