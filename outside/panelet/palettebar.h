#ifndef PALETTEBAR_H
#define PALETTEBAR_H

#include "panelet_global.h"

#include <QWidget>

class ThermogramPainter;

/**
 * The picture's colour scale: the palette from the hottest colour at the top to the coldest
 * at the bottom, labelled with the temperatures they stand for. The colours span the bar's
 * height less half a label's height at each end, where the labels are centred. Dragging in its
 * upper half moves the high bound, in its lower half the low bound.
 */
class PANELET_EXPORT PaletteBar : public QWidget
{
    Q_OBJECT
public:
    explicit PaletteBar(QWidget *parent = nullptr);

    /** The painter whose plane and analysis give the colours; iron when there is none. */
    void setPainter(const ThermogramPainter *painter) { m_painter = painter; }
    void setRange(double minimum, double maximum);
    QString minimumText() const { return m_minimumText; }
    QString maximumText() const { return m_maximumText; }

    /** The height of a label; the colours start and end half of it inside the bar. */
    int labelHeight() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    /** The bounds while the user drags one; finished when the button is let go. */
    void rangeDragged(double low, double high, bool finished);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Bound { None, Low, High };

    const ThermogramPainter *m_painter = nullptr;
    double m_minimum = 0.0;
    double m_maximum = 0.0;
    QString m_minimumText;
    QString m_maximumText;
    Bound m_dragging = Bound::None;
    double m_pressLow = 0.0;
    double m_pressHigh = 0.0;
};

#endif // PALETTEBAR_H
