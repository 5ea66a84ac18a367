// libFuzzer target: the reader of a picture's kept analysis. Whatever it accepts must write
// back to an equal analysis, and that writing must read back to the same bytes again; the
// picture drawn with it must not fault.

#include "pictureanalysis.h"
#include "temperatureplane.h"
#include "thermogrampainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_analysisfile";
    static char *argv[] = { name, nullptr };
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);

    const std::optional<PictureAnalysis> read = PictureAnalysis::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)));
    if (!read)
        return 0;
    const QByteArray written = read->toJson();
    const std::optional<PictureAnalysis> again = PictureAnalysis::fromJson(written);
    if (!again || *again != *read || again->toJson() != written)
        std::abort();

    // A small plane with a cell of no value, drawn with every tool the file holds.
    static const TemperaturePlane plane(QSize(16, 12), [] {
        QVector<float> values(16 * 12);
        for (int i = 0; i < values.size(); ++i)
            values[i] = float(i % 37) - 5.0f;
        values[7] = std::numeric_limits<float>::quiet_NaN();
        return values;
    }());
    QImage canvas(200, 120, QImage::Format_ARGB32);
    QPainter painter(&canvas);
    ThermogramPainter thermogram(plane, *read);
    thermogram.setSelectedTool(0);
    thermogram.paint(painter, canvas.rect());
    return 0;
}
