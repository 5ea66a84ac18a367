#include "livecanvas.h"

#include <QPainter>

LiveCanvas::LiveCanvas(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(1, 1);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_painter.setTextColour(palette().color(QPalette::WindowText));
}

void LiveCanvas::setPlane(const TemperaturePlane &plane)
{
    m_painter.setPlane(plane);
    update();
}

void LiveCanvas::setAnalysis(const PictureAnalysis &analysis)
{
    m_painter.setAnalysis(analysis);
    update();
}

QRect LiveCanvas::pictureRect() const
{
    return m_painter.layout(rect(), fontMetrics()).picture;
}

void LiveCanvas::paintEvent(QPaintEvent *)
{
    if (!m_painter.plane().isValid())
        return;
    QPainter painter(this);
    m_painter.paint(painter, rect());
}
