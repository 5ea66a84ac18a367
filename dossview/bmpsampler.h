#ifndef BMPSAMPLER_H
#define BMPSAMPLER_H

#include <QImage>
#include <QSize>

/**
 * Direct reading of uncompressed 24-bit BMP data held in memory, the instrument's format.
 * sample() gives exactly the pixels of QImage::scaled(bounds, Qt::KeepAspectRatio,
 * Qt::FastTransformation) applied to the RGB32 image Qt's BMP reader would decode, while
 * touching only the source pixels the result shows.
 */
namespace BmpSampler {

struct Layout
{
    int width = 0;
    int height = 0; ///< always positive
    bool topDown = false; ///< rows stored top first (negative height in the header)
    qint64 pixelOffset = 0; ///< where the first stored row starts
    qint64 stride = 0; ///< bytes per stored row, padded to 4

    /** Where the last stored row ends: the bytes sample() needs. */
    qint64 end() const { return pixelOffset + stride * height; }
};

/** The size of the headers parseHeader() looks at. */
constexpr qint64 HeaderBytes = 54;

/**
 * True when the headers at data announce a picture this reader takes, whatever follows;
 * layout then describes it.
 */
bool parseHeader(const char *data, qint64 length, Layout *layout);

/**
 * True when data is a BMP that Qt would read as a whole uncompressed 24-bit picture, with every
 * row present in the data, and small enough for sample(); layout then describes it.
 */
bool parse(const char *data, qint64 length, Layout *layout);

/** The picture scaled to fit bounds, as Qt's fast transformation gives it, in Format_RGB32. */
QImage sample(const char *data, const Layout &layout, const QSize &bounds);

} // namespace BmpSampler

#endif // BMPSAMPLER_H
