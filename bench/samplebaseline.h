#ifndef SAMPLEBASELINE_H
#define SAMPLEBASELINE_H

#include <QtGlobal>

#include <string>
#include <vector>

/**
 * The floor for the thumbnails: for each picture, read its 230454 BMP bytes and pick the
 * pixels of a 144 x 108 and a 34 x 25 thumbnail by nearest neighbour, at the source positions
 * Qt's FastTransformation uses (16.16 fixed-point steps), so the pixels equal what
 * QImage::scaled gives. One thread, one reused buffer.
 */
class SampleBaseline
{
public:
    /** Reads and samples every file; returns how many were instrument pictures. */
    static int run(const std::vector<std::string> &paths, quint32 *checksum = nullptr);
    /**
     * Samples a 320 x 240 bottom-up 24-bit BMP (bmp points at the file's first byte) into
     * width x height opaque RGB32 pixels.
     */
    static void sample(const uchar *bmp, int width, int height, quint32 *out);
    /**
     * Compares sample() with QImage::scaled(..., Qt::KeepAspectRatio, Qt::FastTransformation)
     * for both thumbnail sizes on these file bytes; true when every pixel is equal.
     */
    static bool matchesQt(const std::string &fileBytes);
};

#endif // SAMPLEBASELINE_H
