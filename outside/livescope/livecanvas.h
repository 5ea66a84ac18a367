#ifndef LIVECANVAS_H
#define LIVECANVAS_H

#include "livescope_global.h"

#include "thermogrampainter.h"

#include <QWidget>

/**
 * The live picture of a measured frame, drawn by the engine's ThermogramPainter as the picture
 * page draws a picture: the plane through the chosen palette and range, the hottest, coldest
 * and centre cells marked with their values, and the colour scale labelled with its bounds.
 */
class LIVESCOPE_EXPORT LiveCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit LiveCanvas(QWidget *parent = nullptr);

    void setPlane(const TemperaturePlane &plane);
    void setAnalysis(const PictureAnalysis &analysis);
    const ThermogramPainter &painter() const { return m_painter; }
    /** Where the picture is drawn at the canvas's size now. */
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ThermogramPainter m_painter;
};

#endif // LIVECANVAS_H
