#include "measurementtool.h"

#include "temperatureplane.h"

#include <cmath>
#include <cstdlib>

namespace {

const char *const KindNames[] = { "spot", "box", "ellipse", "line" };
const char *const Prefixes[] = { "Sp", "Bx", "El", "Li" };

// Whether the centre of cell (x, y) lies inside or on the ellipse inscribed in rect. In
// doubled coordinates every centre and both axes are whole numbers, so the test is exact:
// (nx / W)² + (ny / H)² <= 1.
bool inEllipse(const QRect &rect, int x, int y)
{
    const qint64 w = rect.width();
    const qint64 h = rect.height();
    const qint64 nx = 2 * qint64(x) + 1 - 2 * qint64(rect.x()) - w;
    const qint64 ny = 2 * qint64(y) + 1 - 2 * qint64(rect.y()) - h;
    return nx * nx * h * h + ny * ny * w * w <= w * w * h * h;
}

// Calls visit(cell) for each covered cell inside the plane, in the tool's order.
template <typename Visit>
void forEachCell(const MeasurementTool &tool, const QSize &plane, Visit visit)
{
    const QRect inside(QPoint(0, 0), plane);
    switch (tool.kind) {
    case MeasurementTool::Spot:
        if (inside.contains(tool.start))
            visit(tool.start);
        return;
    case MeasurementTool::Box:
    case MeasurementTool::Ellipse: {
        if (tool.rect.width() < 1 || tool.rect.height() < 1)
            return;
        const QRect covered = tool.rect & inside;
        for (int y = covered.top(); y <= covered.bottom(); ++y) {
            for (int x = covered.left(); x <= covered.right(); ++x) {
                if (tool.kind == MeasurementTool::Box || inEllipse(tool.rect, x, y))
                    visit(QPoint(x, y));
            }
        }
        return;
    }
    case MeasurementTool::Line: {
        const QPoint d = tool.end - tool.start;
        const int steps = std::max(std::abs(d.x()), std::abs(d.y()));
        for (int i = 0; i <= steps; ++i) {
            const double f = steps == 0 ? 0.0 : double(i) / steps;
            // std::round rounds halves away from zero, as the rule says.
            const QPoint cell(int(std::round(tool.start.x() + f * d.x())),
                              int(std::round(tool.start.y() + f * d.y())));
            if (inside.contains(cell))
                visit(cell);
        }
        return;
    }
    }
}

} // namespace

MeasurementTool MeasurementTool::spot(const QString &name, const QPoint &cell)
{
    MeasurementTool tool;
    tool.kind = Spot;
    tool.name = name;
    tool.start = cell;
    return tool;
}

MeasurementTool MeasurementTool::box(const QString &name, const QRect &rect)
{
    MeasurementTool tool;
    tool.kind = Box;
    tool.name = name;
    tool.rect = rect;
    return tool;
}

MeasurementTool MeasurementTool::ellipse(const QString &name, const QRect &rect)
{
    MeasurementTool tool = box(name, rect);
    tool.kind = Ellipse;
    return tool;
}

MeasurementTool MeasurementTool::line(const QString &name, const QPoint &from, const QPoint &to)
{
    MeasurementTool tool;
    tool.kind = Line;
    tool.name = name;
    tool.start = from;
    tool.end = to;
    return tool;
}

QString MeasurementTool::kindName(Kind kind)
{
    return QString::fromLatin1(KindNames[kind]);
}

std::optional<MeasurementTool::Kind> MeasurementTool::kindFromName(const QString &name)
{
    for (const Kind kind : { Spot, Box, Ellipse, Line }) {
        if (name == QLatin1String(KindNames[kind]))
            return kind;
    }
    return std::nullopt;
}

QString MeasurementTool::namePrefix(Kind kind)
{
    return QString::fromLatin1(Prefixes[kind]);
}

QVector<QPoint> MeasurementTool::cells(const QSize &planeSize) const
{
    QVector<QPoint> result;
    forEachCell(*this, planeSize, [&result](const QPoint &cell) { result.append(cell); });
    return result;
}

QRect MeasurementTool::bounds() const
{
    switch (kind) {
    case Spot:
        return QRect(start, QSize(1, 1));
    case Box:
    case Ellipse:
        return rect;
    case Line:
        break;
    }
    return QRect(start, end).normalized();
}

MeasurementTool MeasurementTool::translated(const QPoint &offset) const
{
    MeasurementTool tool = *this;
    tool.start += offset;
    if (kind == Line)
        tool.end += offset;
    if (kind == Box || kind == Ellipse)
        tool.rect.translate(offset);
    return tool;
}

ToolStatistics MeasurementTool::measure(const TemperaturePlane &plane) const
{
    ToolStatistics statistics;
    const QVector<float> &values = plane.values();
    const int width = plane.width();
    double sum = 0.0;
    forEachCell(*this, plane.size(), [&](const QPoint &cell) {
        ++statistics.cellCount;
        const double value = values.at(cell.y() * width + cell.x());
        if (std::isnan(value))
            return;
        if (statistics.valuedCount == 0 || value < statistics.minimum) {
            statistics.minimum = value;
            statistics.minimumCell = cell;
        }
        if (statistics.valuedCount == 0 || value > statistics.maximum) {
            statistics.maximum = value;
            statistics.maximumCell = cell;
        }
        sum += value;
        ++statistics.valuedCount;
    });
    if (statistics.valuedCount > 0)
        statistics.average = sum / statistics.valuedCount;
    return statistics;
}

QVector<double> MeasurementTool::profile(const TemperaturePlane &plane) const
{
    QVector<double> result;
    forEachCell(*this, plane.size(),
                [&](const QPoint &cell) { result.append(plane.valueAt(cell)); });
    return result;
}

bool MeasurementTool::operator==(const MeasurementTool &other) const
{
    return kind == other.kind && name == other.name && start == other.start && end == other.end
        && rect == other.rect;
}
