#ifndef ICOWRITER_H
#define ICOWRITER_H

#include <QByteArray>
#include <QImage>
#include <QVector>

/**
 * Builds one .ico file holding several sizes. Qt's ico plugin writes a single picture per
 * file, so each size up to 48 px is encoded by the plugin and the directories are merged;
 * sizes above that are stored as PNG entries, as Windows expects for 256 px.
 */
class IcoWriter
{
public:
    /** The .ico bytes for @p images (square, 1 to 256 px); empty when an image can't be encoded. */
    static QByteArray encode(const QVector<QImage> &images);
};

#endif // ICOWRITER_H
