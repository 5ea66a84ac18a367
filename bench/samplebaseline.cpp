#include "samplebaseline.h"

#include "cardmaker.h"

#include <QImage>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int SourceWidth = 320;
constexpr int SourceHeight = 240;
constexpr int RowBytes = SourceWidth * 3;
constexpr int PixelOffset = 54;
constexpr int GridWidth = 144, GridHeight = 108;
constexpr int TableWidth = 34, TableHeight = 25;

// Source index of every target index: step int(65536 / scale), first sample ceil(step / 2) - 1.
void positions(int source, int target, int *out)
{
    const double scale = double(target) / source;
    const int step = int(65536.0 / scale);
    int at = (step + 1) / 2 - 1;
    for (int i = 0; i < target; ++i, at += step)
        out[i] = qMin(at >> 16, source - 1);
}

} // namespace

void SampleBaseline::sample(const uchar *bmp, int width, int height, quint32 *out)
{
    int xs[SourceWidth];
    int ys[SourceHeight];
    positions(SourceWidth, width, xs);
    positions(SourceHeight, height, ys);
    for (int y = 0; y < height; ++y) {
        const uchar *row = bmp + PixelOffset + (SourceHeight - 1 - ys[y]) * RowBytes;
        quint32 *line = out + y * width;
        for (int x = 0; x < width; ++x) {
            const uchar *p = row + 3 * xs[x];
            line[x] = 0xff000000u | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
        }
    }
}

int SampleBaseline::run(const std::vector<std::string> &paths, quint32 *checksum)
{
    static std::vector<uchar> buffer(CardMaker::HeaderFileSize);
    static quint32 grid[GridWidth * GridHeight];
    static quint32 table[TableWidth * TableHeight];
    int done = 0;
    quint32 sum = 0;
    for (const std::string &path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), 0);
        ::close(fd);
        if (n != ssize_t(buffer.size()))
            continue;
        sample(buffer.data(), GridWidth, GridHeight, grid);
        sample(buffer.data(), TableWidth, TableHeight, table);
        sum += grid[GridWidth * GridHeight / 2] ^ table[TableWidth];
        ++done;
    }
    if (checksum)
        *checksum = sum;
    return done;
}

bool SampleBaseline::matchesQt(const std::string &fileBytes)
{
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar *>(fileBytes.data()),
                            int(fileBytes.size())))
        return false;
    const struct
    {
        QSize bound;
        int width, height;
    } sizes[] = { { QSize(144, 192), GridWidth, GridHeight },
                  { QSize(34, 34), TableWidth, TableHeight } };
    for (const auto &size : sizes) {
        const QImage qt = image.scaled(size.bound, Qt::KeepAspectRatio, Qt::FastTransformation)
                              .convertToFormat(QImage::Format_RGB32);
        if (qt.width() != size.width || qt.height() != size.height)
            return false;
        std::vector<quint32> ours(size_t(size.width * size.height));
        sample(reinterpret_cast<const uchar *>(fileBytes.data()), size.width, size.height,
               ours.data());
        for (int y = 0; y < size.height; ++y) {
            const quint32 *line = reinterpret_cast<const quint32 *>(qt.constScanLine(y));
            for (int x = 0; x < size.width; ++x) {
                if ((line[x] | 0xff000000u) != ours[size_t(y * size.width + x)])
                    return false;
            }
        }
    }
    return true;
}
