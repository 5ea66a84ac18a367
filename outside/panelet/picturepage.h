#ifndef PICTUREPAGE_H
#define PICTUREPAGE_H

#include "panelet_global.h"

#include "thermogram.h"

#include <QImage>
#include <QWidget>

class PaletteBar;
class QLabel;
class QStackedWidget;
class ThermogramCanvas;

/**
 * Shows one picture scaled to fit, with its file name underneath. A picture that carries
 * temperatures is measured: the temperature under the pointer, the hottest and coldest spot
 * and the centre marked with their values, the colour scale labelled with the picture's range,
 * and the conditions it was taken under. A picture without them says so in one line, and
 * whether its temperature block is missing or damaged.
 */
class PANELET_EXPORT PicturePage : public QWidget
{
    Q_OBJECT
public:
    explicit PicturePage(QWidget *parent = nullptr);

    /** temperaturesDamaged: the file carries a block that failed its checks. */
    void setPicture(const QImage &image, const QString &fileName,
                    const Thermogram &thermogram = Thermogram(), bool temperaturesDamaged = false);
    void clear();

    QImage picture() const { return m_image; }
    QString fileName() const;
    const Thermogram &thermogram() const { return m_thermogram; }
    ThermogramCanvas *canvas() const { return m_canvas; }
    PaletteBar *paletteBar() const;

private:
    void showPointer(const QPoint &cell);
    QString markersText() const;

    QImage m_image;
    Thermogram m_thermogram;
    ThermogramCanvas *m_canvas = nullptr;
    QLabel *m_pointerLabel = nullptr;
    QStackedWidget *m_firstLine = nullptr; ///< the readings, or the line that says there are none
    QLabel *m_readingsLabel = nullptr;
    QLabel *m_conditionsLabel = nullptr;
    QLabel *m_noDataLabel = nullptr;
    QLabel *m_nameLabel = nullptr;
};

#endif // PICTUREPAGE_H
