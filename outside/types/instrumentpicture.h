#ifndef INSTRUMENTPICTURE_H
#define INSTRUMENTPICTURE_H

#include "outsidetypes_global.h"

#include "thermogram.h"

#include <QByteArray>

class QImage;

/**
 * Writes the instrument's picture files: a 24-bit BMP of 320 x 240 whose header declares
 * ThermogramFormat::DeclaredBmpSize bytes, padded to ThermogramFormat::FileSize with the
 * instrument's trailer, which starts with the temperature block. The card, the demo
 * instrument and the live window's log all write them this way, so that whatever reads
 * card pictures reads them all.
 */
class OUTSIDETYPES_EXPORT InstrumentPicture
{
public:
    static constexpr int Width = 320;
    static constexpr int Height = 240;

    /**
     * The file's bytes for a picture (scaled to 320 x 240 when it has another size). A valid
     * thermogram's block goes into the trailer; without one the trailer is only marked, as
     * older cards have it, and the picture has no temperature data.
     */
    static QByteArray fileBytes(const QImage &picture, const Thermogram &thermogram = Thermogram());
};

#endif // INSTRUMENTPICTURE_H
