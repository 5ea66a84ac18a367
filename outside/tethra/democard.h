#ifndef DEMOCARD_H
#define DEMOCARD_H

#include "tethra_global.h"

#include "thermogram.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class QDateTime;
class QImage;

/**
 * The demo instrument's SD card: a folder laid out as the instrument writes its card
 * (DCIM/100THERM, DCIM/101THERM with IR_nnnn.BMP pictures) plus a few files that are not
 * pictures of the instrument and must not be listed.
 *
 * A picture of the instrument is a 24-bit BMP of 320 x 240 (230454 bytes, which is the value
 * of the header's size field) padded with the camera's trailer to 307792 bytes in all. The
 * trailer holds the picture's temperatures (ThermogramFormat); one picture's is damaged, as a
 * card with a bad sector would give it.
 */
class TETHRA_EXPORT DemoCard
{
public:
    static constexpr qint64 PictureFileSize = 307792;
    static constexpr quint32 BmpFileSize = 230454;
    static constexpr int DefaultPictureCount = 24;
    /** The temperature plane: one cell for every 2 x 2 pixels of the picture. */
    static constexpr int PlaneWidth = 160;
    static constexpr int PlaneHeight = 120;
    /** The picture, beside the others, whose temperature block does not pass its checksum. */
    static constexpr const char *DamagedPicture = "DCIM/101THERM/IR_DAMAGED.BMP";

    /**
     * Writes a card of count measured pictures, the damaged one and the decoys into folder,
     * which must not exist yet or be empty.
     * The card is written beside it first and moved into place at the end, so a folder that
     * exists is always complete. Returns false with a reason in error on failure.
     */
    static bool generate(const QString &folder, int count = DefaultPictureCount,
                         QString *error = nullptr);
    /** True when folder holds a card (its DCIM folder exists). */
    static bool exists(const QString &folder);
    /**
     * The bytes of one instrument picture file made from a 320 x 240 picture, with the
     * trailer older demo cards wrote: no temperatures.
     */
    static QByteArray pictureFile(const QImage &image);
    /** The same with the thermogram's block in the trailer. */
    static QByteArray pictureFile(const QImage &image, const Thermogram &thermogram);
    /**
     * What the instrument measures of a scene: the temperatures of ThermalScene::temperatures()
     * averaged over 2 x 2 pixels per cell, with the demo's conditions and the capture time.
     */
    static Thermogram measurement(const QVector<float> &temperatures, const QDateTime &captured);
};

#endif // DEMOCARD_H
