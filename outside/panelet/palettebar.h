#ifndef PALETTEBAR_H
#define PALETTEBAR_H

#include "panelet_global.h"

#include <QWidget>

/**
 * The picture's colour scale: the instrument's palette from the hottest colour at the top to
 * the coldest at the bottom, labelled with the temperatures they stand for. The colours span
 * the bar's height less half a label's height at each end, where the labels are centred.
 */
class PANELET_EXPORT PaletteBar : public QWidget
{
    Q_OBJECT
public:
    explicit PaletteBar(QWidget *parent = nullptr);

    void setRange(double minimum, double maximum);
    QString minimumText() const { return m_minimumText; }
    QString maximumText() const { return m_maximumText; }

    /** The height of a label; the colours start and end half of it inside the bar. */
    int labelHeight() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_minimumText;
    QString m_maximumText;
};

#endif // PALETTEBAR_H
