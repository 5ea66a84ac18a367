#ifndef IMAGEFILE_H
#define IMAGEFILE_H

#include "thermogram.h"

#include <QImage>
#include <QMetaType>
#include <QString>

/**
 * One picture read from the instrument. Tethra creates, owns and frees these; the windows
 * only show them.
 */
struct ImageFile
{
    QImage image; ///< the decoded picture; null when it could not be decoded
    QString path; ///< where it was read from
    qint64 size = 0; ///< the file's size in bytes
    Thermogram thermogram; ///< the picture's temperatures; not valid when it has none
    bool thermogramDamaged = false; ///< the file has a temperature block, but it failed its checks
};

Q_DECLARE_METATYPE(const ImageFile *)
Q_DECLARE_METATYPE(ImageFile *)

#endif // IMAGEFILE_H
