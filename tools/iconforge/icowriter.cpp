#include "icowriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace {

const int DirHeaderSize = 6;
const int DirEntrySize = 16;

struct Entry
{
    QByteArray header; // the 16-byte directory entry, offset still to be filled in
    QByteArray data;
};

bool encodeWith(const QImage &image, const char *format, QByteArray *out)
{
    QBuffer buffer(out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image);
}

// The plugin leaves the padding at the end of each AND-mask row uninitialised; zero it so the
// same drawing always gives the same file.
void clearMaskPadding(int width, int height, QByteArray *dib)
{
    const int headerSize = int(qFromLittleEndian<quint32>(dib->constData()));
    const int bitCount = qFromLittleEndian<quint16>(dib->constData() + 14);
    if (bitCount != 32)
        return;
    const int maskStart = headerSize + width * height * 4;
    const int rowBytes = ((width + 31) / 32) * 4;
    const int usedBytes = (width + 7) / 8;
    for (int row = 0; row < height; ++row) {
        for (int i = usedBytes; i < rowBytes; ++i) {
            const int at = maskStart + row * rowBytes + i;
            if (at < dib->size())
                (*dib)[at] = '\0';
        }
    }
}

bool entryFor(const QImage &image, Entry *entry)
{
    if (image.width() > 48) {
        if (!encodeWith(image, "png", &entry->data))
            return false;
        entry->header = QByteArray(DirEntrySize, '\0');
        // A width or height of 256 is stored as 0.
        entry->header[0] = char(image.width() & 0xff);
        entry->header[1] = char(image.height() & 0xff);
        qToLittleEndian<quint16>(1, entry->header.data() + 4);
        qToLittleEndian<quint16>(32, entry->header.data() + 6);
    } else {
        QByteArray single;
        if (!encodeWith(image, "ico", &single) || single.size() < DirHeaderSize + DirEntrySize)
            return false;
        entry->header = single.mid(DirHeaderSize, DirEntrySize);
        const quint32 size = qFromLittleEndian<quint32>(entry->header.constData() + 8);
        const quint32 offset = qFromLittleEndian<quint32>(entry->header.constData() + 12);
        if (offset + size > quint32(single.size()))
            return false;
        entry->data = single.mid(int(offset), int(size));
        clearMaskPadding(image.width(), image.height(), &entry->data);
    }
    qToLittleEndian<quint32>(quint32(entry->data.size()), entry->header.data() + 8);
    return true;
}

} // namespace

QByteArray IcoWriter::encode(const QVector<QImage> &images)
{
    QVector<Entry> entries;
    for (const QImage &image : images) {
        Entry entry;
        if (!entryFor(image, &entry))
            return QByteArray();
        entries.append(entry);
    }

    QByteArray out(DirHeaderSize, '\0');
    qToLittleEndian<quint16>(1, out.data() + 2);
    qToLittleEndian<quint16>(quint16(entries.size()), out.data() + 4);
    quint32 offset = quint32(DirHeaderSize + DirEntrySize * entries.size());
    for (Entry &entry : entries) {
        qToLittleEndian<quint32>(offset, entry.header.data() + 12);
        out.append(entry.header);
        offset += quint32(entry.data.size());
    }
    for (const Entry &entry : qAsConst(entries))
        out.append(entry.data);
    return out;
}
