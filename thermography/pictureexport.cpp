#include "pictureexport.h"

#include "analysisstore.h"
#include "csvexport.h"
#include "thermogrampainter.h"
#include "tiffexport.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>

#include <cmath>

namespace {

constexpr int Margin = 12; // around the PNG's drawing
constexpr int FontPixels = 13;

QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

/** A temperature for scripts: two decimals, or null without a value. */
QByteArray jsonCelsius(double celsius)
{
    if (std::isnan(celsius))
        return QByteArrayLiteral("null");
    QByteArray out;
    CsvExport::appendCelsius(out, celsius);
    return out;
}

QByteArray jsonNumber(double value)
{
    return QByteArray::number(value, 'g', 10);
}

} // namespace

PictureExport::PictureExport(const QString &fileName, const Thermogram &thermogram,
                             const PictureAnalysis &analysis)
    : m_fileName(fileName)
    , m_thermogram(thermogram)
    , m_analysis(analysis)
{
    if (!thermogram.isValid())
        return;
    m_plane = TemperaturePlane::fromThermogram(thermogram, analysis.correction);
    m_facts = analysis.correction
        ? PictureFacts::of(fileName, thermogram, analysis.correction->emissivity,
                           analysis.correction->reflectedCelsius)
        : PictureFacts::of(fileName, thermogram);
    for (const MeasurementTool &tool : analysis.tools)
        m_statistics.append(tool.measure(m_plane));
}

PictureAnalysis PictureExport::savedAnalysis(const QString &path)
{
    PictureAnalysis analysis;
    const QString key = AnalysisStore::keyForFile(path);
    if (!key.isEmpty() && AnalysisStore().load(key, &analysis) == AnalysisStore::Loaded)
        return analysis;
    return PictureAnalysis();
}

QString PictureExport::celsiusText(double celsius)
{
    if (std::isnan(celsius))
        return QStringLiteral("—");
    QByteArray text;
    CsvExport::appendCelsius(text, celsius);
    return QString::fromLatin1(text) + QStringLiteral(" °C");
}

QByteArray PictureExport::csv() const
{
    return CsvExport::csv(m_facts, m_plane.size(), m_plane.values());
}

QByteArray PictureExport::tiff() const
{
    return TiffExport::tiff(m_plane.size(), m_plane.values(),
                            QStringLiteral("%1: temperatures in degrees Celsius").arg(m_fileName));
}

QString PictureExport::parameterLine() const
{
    return tr("%1   captured %2   emissivity %3   reflected %4   ambient %5   distance %6 m")
        .arg(m_fileName, m_facts.capturedText())
        .arg(m_facts.emissivity, 0, 'f', 2)
        .arg(ThermogramPainter::celsiusText(m_facts.reflectedCelsius),
             ThermogramPainter::celsiusText(m_facts.ambientCelsius))
        .arg(m_facts.distanceMetres, 0, 'f', 2);
}

QImage PictureExport::image() const
{
    if (!hasData())
        return QImage();
    ThermogramPainter painter(m_plane, m_analysis);
    painter.setParameterLine(parameterLine());
    painter.setTextColour(Qt::black);
    painter.setMaximumZoom(PictureWidth / m_plane.width());
    QFont font(ReportWriter::fontFamily());
    font.setPixelSize(FontPixels);
    const QFontMetrics metrics(font);

    // First as wide as need be to find the picture and scale's width, then as wide as they or
    // the parameter line, whichever is wider.
    const int height = PictureWidth * m_plane.height() / m_plane.width() + 3 * metrics.height();
    const ThermogramPainter::Layout wide
        = painter.layout(QRect(0, 0, 8 * PictureWidth, height), metrics);
    const int width = qMax(wide.scaleLabels.right() - wide.picture.left() + 1,
                           metrics.horizontalAdvance(parameterLine()));
    QImage image(width + 2 * Margin, height + 2 * Margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter onImage(&image);
    onImage.setRenderHint(QPainter::Antialiasing);
    onImage.setFont(font);
    painter.paint(onImage, QRect(Margin, Margin, width, height));
    return image;
}

QByteArray PictureExport::png() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image().save(&buffer, "PNG");
    return bytes;
}

QByteArray PictureExport::noDataJsonLine(const QString &path)
{
    return "{\"file\": " + jsonString(path) + ", \"temperature_data\": false}";
}

QByteArray PictureExport::jsonLine(const QString &path) const
{
    if (!hasData())
        return noDataJsonLine(path);
    QByteArray line = "{\"file\": " + jsonString(path) + ", \"temperature_data\": true";
    line += ", \"captured\": " + jsonString(m_facts.capturedText());
    line += ", \"emissivity\": " + jsonNumber(m_facts.emissivity);
    line += ", \"reflected\": " + jsonNumber(m_facts.reflectedCelsius);
    line += ", \"ambient\": " + jsonNumber(m_facts.ambientCelsius);
    line += ", \"distance\": " + jsonNumber(m_facts.distanceMetres);
    line += ", \"min\": " + jsonCelsius(m_plane.minimum());
    line += ", \"max\": " + jsonCelsius(m_plane.maximum());
    line += ", \"centre\": " + jsonCelsius(m_plane.valueAt(m_plane.centreCell()));
    line += ", \"tools\": [";
    for (int index = 0; index < m_analysis.tools.size(); ++index) {
        const MeasurementTool &tool = m_analysis.tools.at(index);
        const ToolStatistics &figures = m_statistics.at(index);
        const auto figure
            = [&](double value) { return jsonCelsius(figures.hasValue() ? value : std::nan("")); };
        if (index > 0)
            line += ", ";
        line += "{\"name\": " + jsonString(tool.name)
            + ", \"kind\": " + jsonString(MeasurementTool::kindName(tool.kind));
        if (tool.kind == MeasurementTool::Spot)
            line += ", \"value\": " + figure(figures.average);
        else
            line += ", \"min\": " + figure(figures.minimum)
                + ", \"max\": " + figure(figures.maximum) + ", \"avg\": " + figure(figures.average);
        line += '}';
    }
    line += "]}";
    return line;
}

QString PictureExport::correctionText() const
{
    QStringList changes;
    if (m_facts.emissivityChanged())
        changes << tr("emissivity %1 → %2")
                       .arg(m_facts.storedEmissivity, 0, 'f', 2)
                       .arg(m_facts.emissivity, 0, 'f', 2);
    if (m_facts.reflectedChanged())
        changes << tr("reflected %1 → %2")
                       .arg(celsiusText(m_facts.storedReflectedCelsius),
                            celsiusText(m_facts.reflectedCelsius));
    return changes.isEmpty() ? tr("none (as stored)") : changes.join(QStringLiteral("; "));
}

ReportPage PictureExport::reportPage(const QString &note) const
{
    ReportPage page;
    page.fileName = m_fileName;
    page.note = note;
    if (!hasData())
        return page;
    page.picture = image();
    const auto number
        = [](double value, int decimals) { return QString::number(value, 'f', decimals); };
    const ColourRange &range = m_analysis.range;
    page.parameters = {
        { tr("Captured"), m_facts.capturedText() },
        { tr("Emissivity"), number(m_facts.emissivity, 2) },
        { tr("Reflected temperature"), celsiusText(m_facts.reflectedCelsius) },
        { tr("Ambient temperature"), celsiusText(m_facts.ambientCelsius) },
        { tr("Distance"), tr("%1 m").arg(number(m_facts.distanceMetres, 2)) },
        { tr("Correction"), correctionText() },
        { tr("Palette"), ThermalPalette::displayName(m_analysis.palette) },
        { tr("Range"),
          (range.automatic ? tr("automatic: %1 to %2") : tr("manual: %1 to %2"))
              .arg(celsiusText(range.lowFor(m_plane)), celsiusText(range.highFor(m_plane))) },
        { tr("Minimum"), celsiusText(m_plane.minimum()) },
        { tr("Maximum"), celsiusText(m_plane.maximum()) },
        { tr("Centre"), celsiusText(m_plane.valueAt(m_plane.centreCell())) },
    };
    page.toolColumns = QStringList { tr("Tool"),    tr("Kind"),    tr("Value"),
                                     tr("Minimum"), tr("Maximum"), tr("Average") };
    const QStringList kinds = { tr("spot"), tr("box"), tr("ellipse"), tr("line") };
    for (int index = 0; index < m_analysis.tools.size(); ++index) {
        const MeasurementTool &tool = m_analysis.tools.at(index);
        const ToolStatistics &figures = m_statistics.at(index);
        const auto figure
            = [&](double value) { return celsiusText(figures.hasValue() ? value : std::nan("")); };
        if (tool.kind == MeasurementTool::Spot)
            page.toolRows.append({ tool.name, kinds.at(tool.kind), figure(figures.average) });
        else
            page.toolRows.append({ tool.name, kinds.at(tool.kind), QString(),
                                   figure(figures.minimum), figure(figures.maximum),
                                   figure(figures.average) });
    }
    return page;
}
