#include "pictureheader.h"

#include <QtEndian>

bool PictureHeader::isInstrumentPicture(const char *header, qint64 length)
{
    if (!header || length != HeaderSize)
        return false;
    return qFromLittleEndian<quint32>(header + 2) == DeclaredSize;
}
