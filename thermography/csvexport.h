#ifndef CSVEXPORT_H
#define CSVEXPORT_H

#include "thermography_global.h"

#include <QByteArray>
#include <QSize>
#include <QVector>

struct PictureFacts;

/**
 * The temperature matrix as CSV: first lines that begin with '#' (the file name, the capture
 * time, emissivity, reflected and ambient temperature, distance, the corrections applied, the
 * unit), then one line per plane row from the top, the cells in degrees Celsius with two
 * decimals and '.' whatever the locale, separated by commas; a cell without a value (NaN) is
 * empty. UTF-8, lines end with '\n'.
 */
class THERMOGRAPHY_EXPORT CsvExport
{
public:
    static QByteArray csv(const PictureFacts &facts, const QSize &planeSize,
                          const QVector<float> &celsius);
    /** A temperature with two decimals, rounded half away from zero, as the CSV writes it. */
    static void appendCelsius(QByteArray &out, double celsius);
};

#endif // CSVEXPORT_H
