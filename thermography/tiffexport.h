#ifndef TIFFEXPORT_H
#define TIFFEXPORT_H

#include "thermography_global.h"

#include <QByteArray>
#include <QSize>
#include <QVector>

/**
 * The temperatures as a TIFF that ImageJ and tifffile read as numbers: one sample of 32-bit
 * IEEE floating point per pixel, in degrees Celsius, rows from the top, uncompressed, one strip;
 * a cell without a value is NaN. Made in memory with libtiff, so that it can be written whole.
 */
class THERMOGRAPHY_EXPORT TiffExport
{
public:
    /** The TIFF's bytes; empty when celsius does not fill planeSize. */
    static QByteArray tiff(const QSize &planeSize, const QVector<float> &celsius,
                           const QString &description = QString());
};

#endif // TIFFEXPORT_H
