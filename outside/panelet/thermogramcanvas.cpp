#include "thermogramcanvas.h"

#include "palettebar.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QPoint NoCell(-1, -1);
constexpr int ScaleGap = 8; // between the picture and its scale
constexpr int HandleReach = 6; // pixels around a handle or a line that a press still hits

double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t
        = length > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

} // namespace

ThermogramCanvas::ThermogramCanvas(QWidget *parent)
    : QWidget(parent)
    , m_paletteBar(new PaletteBar(this))
{
    m_paletteBar->hide();
    m_paletteBar->setPainter(&m_painter);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(1, 1);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void ThermogramCanvas::setPicture(const QImage &image, const Thermogram &thermogram)
{
    m_image = image;
    m_measured = thermogram.isValid();
    m_selected = -1;
    m_drag = Drag::None;
    setMeasurement(TemperaturePlane::fromThermogram(thermogram), PictureAnalysis());
    updateScaledPicture();
    // The pointer may already be over the new picture.
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    setPointerCell(underMouse() && m_measured
                       ? cellAt(m_pictureRect, m_painter.plane().size(), pointer)
                       : NoCell);
    update();
}

void ThermogramCanvas::clear()
{
    setPicture(QImage(), Thermogram());
}

void ThermogramCanvas::setMeasurement(const TemperaturePlane &plane,
                                      const PictureAnalysis &analysis)
{
    m_painter.setPlane(plane);
    m_painter.setAnalysis(analysis);
    if (m_selected >= analysis.tools.size())
        setSelectedTool(-1);
    m_painter.setSelectedTool(m_selected);
    if (plane.isValid())
        m_paletteBar->setRange(analysis.range.lowFor(plane), analysis.range.highFor(plane));
    m_paletteBar->update();
    update();
}

void ThermogramCanvas::setSelectedTool(int index)
{
    if (index == m_selected)
        return;
    m_selected = index;
    m_painter.setSelectedTool(index);
    update();
    emit selectedToolChanged(index);
}

QRect ThermogramCanvas::fitRect(const QSize &area, const QSize &picture)
{
    if (picture.isEmpty() || area.isEmpty())
        return QRect();
    const QSize size = picture.scaled(area.boundedTo(picture * MaxZoom), Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                 size);
}

QPoint ThermogramCanvas::cellAt(const QRect &rect, const QSize &plane, const QPoint &point)
{
    return ThermogramPainter::cellAt(rect, plane, point);
}

QPointF ThermogramCanvas::cellCentre(const QRect &rect, const QSize &plane, const QPoint &cell)
{
    return ThermogramPainter::cellCentre(rect, plane, cell);
}

QPointF ThermogramCanvas::markerCentre(const QRect &rect, const QSize &plane, const QPoint &cell)
{
    return ThermogramPainter::markerCentre(rect, plane, cell);
}

QString ThermogramCanvas::celsiusText(double celsius)
{
    return ThermogramPainter::celsiusText(celsius);
}

void ThermogramCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateScaledPicture();
    // The picture moved under a pointer that stayed where it was.
    if (m_measured && m_pointerPosition)
        setPointerCell(cellAt(m_pictureRect, m_painter.plane().size(), *m_pointerPosition));
}

void ThermogramCanvas::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_pointerPosition.reset();
    setPointerCell(NoCell);
}

void ThermogramCanvas::setPointerCell(const QPoint &cell)
{
    if (cell == m_pointerCell)
        return;
    m_pointerCell = cell;
    m_painter.setPointerCell(cell);
    update();
    emit pointerCellChanged(cell);
}

void ThermogramCanvas::updateScaledPicture()
{
    // The picture is fitted beside a strip that the scale takes on its right, with half a line
    // above and below for the scale's labels, and the two are centred together. A picture
    // without temperatures is fitted the same way, so that it is drawn at the same size.
    const QSize bar = m_paletteBar->sizeHint();
    const int labelMargin = m_paletteBar->labelHeight() / 2;
    const QSize area(width() - bar.width() - ScaleGap, height() - 2 * labelMargin);
    m_pictureRect = fitRect(area, m_image.size());
    if (!m_pictureRect.isEmpty()) {
        const int strip = m_measured ? ScaleGap + bar.width() : 0;
        const int left = (width() - (m_pictureRect.width() + strip)) / 2;
        m_pictureRect.moveTo(left, (height() - m_pictureRect.height()) / 2);
        m_paletteBar->setGeometry(m_pictureRect.right() + 1 + ScaleGap,
                                  m_pictureRect.top() - labelMargin, bar.width(),
                                  m_pictureRect.height() + 2 * labelMargin);
    }
    m_paletteBar->setVisible(m_measured && !m_pictureRect.isEmpty());
    // A measured picture is drawn from its plane on each paint; only the plain one is scaled.
    m_scaled = m_pictureRect.isEmpty() || m_measured
        ? QPixmap()
        : QPixmap::fromImage(
            m_image.scaled(m_pictureRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    update();
}

void ThermogramCanvas::setPlaceholderText(const QString &text)
{
    m_placeholderText = text;
    update();
}

void ThermogramCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_placeholderText);
        return;
    }
    if (m_pictureRect.isEmpty())
        return;
    if (m_measured)
        m_painter.paintPicture(painter, m_pictureRect);
    else if (!m_scaled.isNull())
        painter.drawPixmap(m_pictureRect.topLeft(), m_scaled);
}

QPoint ThermogramCanvas::clampedCell(const QPoint &position) const
{
    const QSize plane = m_painter.plane().size();
    const QPoint inside(std::clamp(position.x(), m_pictureRect.left(), m_pictureRect.right()),
                        std::clamp(position.y(), m_pictureRect.top(), m_pictureRect.bottom()));
    return cellAt(m_pictureRect, plane, inside);
}

int ThermogramCanvas::toolAt(const QPoint &position) const
{
    const QVector<MeasurementTool> &tools = m_painter.analysis().tools;
    const QSize plane = m_painter.plane().size();
    // The last drawn lies on top.
    for (int i = tools.size() - 1; i >= 0; --i) {
        const MeasurementTool &tool = tools.at(i);
        bool hit = false;
        switch (tool.kind) {
        case MeasurementTool::Spot: {
            const QPointF d = cellCentre(m_pictureRect, plane, tool.start) - position;
            hit = std::hypot(d.x(), d.y()) <= MarkerReach;
            break;
        }
        case MeasurementTool::Box:
        case MeasurementTool::Ellipse:
            hit = ThermogramPainter::cellsRect(m_pictureRect, plane, tool.rect)
                      .adjusted(-HandleReach, -HandleReach, HandleReach, HandleReach)
                      .contains(position);
            break;
        case MeasurementTool::Line:
            hit = distanceToSegment(position, cellCentre(m_pictureRect, plane, tool.start),
                                    cellCentre(m_pictureRect, plane, tool.end))
                <= HandleReach;
            break;
        }
        if (hit)
            return i;
    }
    return -1;
}

bool ThermogramCanvas::onHandle(const QPoint &position, QPoint *anchor, Drag *drag) const
{
    const QVector<MeasurementTool> &tools = m_painter.analysis().tools;
    if (m_selected < 0 || m_selected >= tools.size())
        return false;
    const MeasurementTool &tool = tools.at(m_selected);
    const QSize plane = m_painter.plane().size();
    const auto near = [&](const QPointF &at) {
        return std::abs(at.x() - position.x()) <= HandleReach
            && std::abs(at.y() - position.y()) <= HandleReach;
    };
    if (tool.kind == MeasurementTool::Line) {
        if (near(cellCentre(m_pictureRect, plane, tool.end))) {
            *anchor = tool.start;
            *drag = Drag::Resize;
            return true;
        }
        if (near(cellCentre(m_pictureRect, plane, tool.start))) {
            *anchor = tool.end;
            *drag = Drag::ResizeLineStart;
            return true;
        }
        return false;
    }
    if (tool.kind == MeasurementTool::Spot)
        return false;
    // Each corner's handle keeps the opposite corner's cell.
    const QRect r = tool.rect;
    const QRectF drawn = ThermogramPainter::cellsRect(m_pictureRect, plane, r);
    const std::pair<QPointF, QPoint> corners[] = {
        { drawn.topLeft(), r.bottomRight() },
        { drawn.topRight(), r.bottomLeft() },
        { drawn.bottomLeft(), r.topRight() },
        { drawn.bottomRight(), r.topLeft() },
    };
    for (const auto &[handle, opposite] : corners) {
        if (near(handle)) {
            *anchor = opposite;
            *drag = Drag::Resize;
            return true;
        }
    }
    return false;
}

void ThermogramCanvas::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (!m_measured || event->button() != Qt::LeftButton)
        return;
    const QSize plane = m_painter.plane().size();
    const QPoint cell = cellAt(m_pictureRect, plane, event->pos());
    PictureAnalysis analysis = m_painter.analysis();
    if (m_placing && cell != NoCell && analysis.tools.size() < PictureAnalysis::MaxTools) {
        const QString name = analysis.nextToolName(*m_placing);
        switch (*m_placing) {
        case MeasurementTool::Spot:
            analysis.tools.append(MeasurementTool::spot(name, cell));
            break;
        case MeasurementTool::Box:
            analysis.tools.append(MeasurementTool::box(name, QRect(cell, QSize(1, 1))));
            break;
        case MeasurementTool::Ellipse:
            analysis.tools.append(MeasurementTool::ellipse(name, QRect(cell, QSize(1, 1))));
            break;
        case MeasurementTool::Line:
            analysis.tools.append(MeasurementTool::line(name, cell, cell));
            break;
        }
        m_drag = *m_placing == MeasurementTool::Spot ? Drag::Move : Drag::Resize;
        m_anchor = cell;
        m_pressCell = cell;
        m_pressTool = analysis.tools.last();
        setSelectedTool(analysis.tools.size() - 1);
        editTools(analysis.tools, false);
        return;
    }
    Drag drag = Drag::None;
    if (onHandle(event->pos(), &m_anchor, &drag)) {
        m_drag = drag;
    } else {
        setSelectedTool(toolAt(event->pos()));
        m_drag = m_selected >= 0 ? Drag::Move : Drag::None;
    }
    if (m_drag != Drag::None) {
        m_pressCell = clampedCell(event->pos());
        m_pressTool = analysis.tools.at(m_selected);
    }
}

void ThermogramCanvas::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    m_pointerPosition = event->pos();
    if (!m_measured)
        return;
    setPointerCell(cellAt(m_pictureRect, m_painter.plane().size(), event->pos()));
    if (m_drag == Drag::None || !(event->buttons() & Qt::LeftButton)
        || m_selected >= m_painter.analysis().tools.size())
        return;
    const QPoint cell = clampedCell(event->pos());
    MeasurementTool tool = m_pressTool;
    switch (m_drag) {
    case Drag::Move:
        tool = keptInside(m_pressTool.translated(cell - m_pressCell));
        break;
    case Drag::Resize:
        if (tool.kind == MeasurementTool::Line)
            tool.end = cell;
        else if (tool.kind == MeasurementTool::Spot)
            tool.start = cell;
        else
            tool.rect = QRect(m_anchor, cell).normalized();
        break;
    case Drag::ResizeLineStart:
        tool.start = cell;
        break;
    case Drag::None:
        break;
    }
    QVector<MeasurementTool> tools = m_painter.analysis().tools;
    if (tools.at(m_selected) == tool)
        return;
    tools[m_selected] = tool;
    editTools(tools, false);
}

void ThermogramCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || m_drag == Drag::None)
        return;
    m_drag = Drag::None;
    editTools(m_painter.analysis().tools, true);
    if (m_placing)
        emit toolPlaced();
}

MeasurementTool ThermogramCanvas::keptInside(const MeasurementTool &tool) const
{
    // A moved tool stays wholly on the plane.
    const QRect bounds = tool.bounds();
    const QSize plane = m_painter.plane().size();
    QPoint shift;
    if (bounds.left() < 0)
        shift.rx() = -bounds.left();
    else if (bounds.right() >= plane.width())
        shift.rx() = plane.width() - 1 - bounds.right();
    if (bounds.top() < 0)
        shift.ry() = -bounds.top();
    else if (bounds.bottom() >= plane.height())
        shift.ry() = plane.height() - 1 - bounds.bottom();
    return tool.translated(shift);
}

void ThermogramCanvas::editTools(const QVector<MeasurementTool> &tools, bool finished)
{
    PictureAnalysis analysis = m_painter.analysis();
    analysis.tools = tools;
    m_painter.setAnalysis(analysis);
    update();
    emit toolsEdited(tools, finished);
}

void ThermogramCanvas::removeTool(int index)
{
    QVector<MeasurementTool> tools = m_painter.analysis().tools;
    if (index < 0 || index >= tools.size())
        return;
    tools.remove(index);
    m_drag = Drag::None;
    setSelectedTool(-1);
    editTools(tools, true);
}

bool ThermogramCanvas::event(QEvent *event)
{
    // With a tool selected, the arrows and Delete are the canvas's, not the page's shortcuts.
    if (event->type() == QEvent::ShortcutOverride && m_selected >= 0) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Delete:
            event->accept();
            return true;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

void ThermogramCanvas::keyPressEvent(QKeyEvent *event)
{
    const QVector<MeasurementTool> &tools = m_painter.analysis().tools;
    if (m_selected < 0 || m_selected >= tools.size()) {
        QWidget::keyPressEvent(event);
        return;
    }
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Delete:
        removeTool(m_selected);
        return;
    case Qt::Key_Left:
        step = QPoint(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPoint(1, 0);
        break;
    case Qt::Key_Up:
        step = QPoint(0, -1);
        break;
    case Qt::Key_Down:
        step = QPoint(0, 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    QVector<MeasurementTool> moved = tools;
    moved[m_selected] = keptInside(tools.at(m_selected).translated(step));
    editTools(moved, true);
}

void ThermogramCanvas::contextMenuEvent(QContextMenuEvent *event)
{
    const int index = m_measured ? toolAt(event->pos()) : -1;
    if (index < 0) {
        QWidget::contextMenuEvent(event);
        return;
    }
    setSelectedTool(index);
    QMenu menu(this);
    const QString name = m_painter.analysis().tools.at(index).name;
    // The menu waits in an event loop of its own: the tool is looked up again by its name.
    menu.addAction(tr("Remove %1").arg(name), this, [this, name] {
        const QVector<MeasurementTool> &tools = m_painter.analysis().tools;
        for (int i = 0; i < tools.size(); ++i) {
            if (tools.at(i).name == name)
                removeTool(i);
        }
    });
    menu.exec(event->globalPos());
}
