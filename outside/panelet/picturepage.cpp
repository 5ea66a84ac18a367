#include "picturepage.h"

#include "palettebar.h"
#include "thermogramcanvas.h"

#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

QLabel *centredLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

PicturePage::PicturePage(QWidget *parent)
    : QWidget(parent)
    , m_canvas(new ThermogramCanvas(this))
    , m_readingsLabel(centredLabel(QStringLiteral("pictureReadingsLabel"), this))
    , m_conditionsLabel(centredLabel(QStringLiteral("pictureConditionsLabel"), this))
    , m_noDataLabel(centredLabel(QStringLiteral("pictureNoDataLabel"), this))
    , m_nameLabel(centredLabel(QStringLiteral("pictureNameLabel"), this))
{
    // Keys for moving between pictures reach the page, not a widget on another tab.
    setFocusPolicy(Qt::StrongFocus);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_readingsLabel);
    layout->addWidget(m_conditionsLabel);
    layout->addWidget(m_noDataLabel);
    layout->addWidget(m_nameLabel);

    connect(m_canvas, &ThermogramCanvas::pointerCellChanged, this, &PicturePage::showPointer);
}

void PicturePage::setPicture(const QImage &image, const QString &fileName,
                             const Thermogram &thermogram)
{
    m_image = image;
    m_thermogram = !image.isNull() && thermogram.isValid() ? thermogram : Thermogram();
    m_nameLabel->setText(QFileInfo(fileName).fileName());
    m_nameLabel->setToolTip(fileName);

    const bool measured = m_thermogram.isValid();
    m_readingsLabel->setVisible(measured);
    m_conditionsLabel->setVisible(measured);
    m_noDataLabel->setVisible(!measured && !image.isNull());
    if (measured) {
        const QDateTime captured = m_thermogram.captureTime.toLocalTime();
        m_conditionsLabel->setText(
            tr("Emissivity %1").arg(QString::number(m_thermogram.emissivity, 'f', 2))
            + QStringLiteral("    ")
            + tr("Captured %1").arg(QLocale().toString(captured, QLocale::ShortFormat)));
        m_noDataLabel->clear();
    } else {
        m_readingsLabel->clear();
        m_conditionsLabel->clear();
        m_noDataLabel->setText(image.isNull() ? QString()
                                              : tr("This picture has no temperature data."));
    }
    m_canvas->setPicture(m_image, m_thermogram);
    showPointer(m_canvas->pointerCell());
}

void PicturePage::clear()
{
    setPicture(QImage(), QString());
    m_nameLabel->clear();
    m_nameLabel->setToolTip(QString());
}

PaletteBar *PicturePage::paletteBar() const
{
    return m_canvas->paletteBar();
}

QString PicturePage::fileName() const
{
    return m_nameLabel->toolTip();
}

void PicturePage::showPointer(const QPoint &cell)
{
    if (!m_thermogram.isValid())
        return;
    const QString pointer = cell.x() >= 0
        ? ThermogramCanvas::celsiusText(m_thermogram.celsiusAt(cell))
        : QStringLiteral("—");
    m_readingsLabel->setText(tr("Pointer %1").arg(pointer) + QStringLiteral("    ")
                             + markersText());
}

QString PicturePage::markersText() const
{
    const auto value = [this](const QPoint &cell) {
        return ThermogramCanvas::celsiusText(m_thermogram.celsiusAt(cell));
    };
    return tr("Hottest %1").arg(value(m_thermogram.hottestCell())) + QStringLiteral("    ")
        + tr("Coldest %1").arg(value(m_thermogram.coldestCell())) + QStringLiteral("    ")
        + tr("Centre %1").arg(value(m_thermogram.centreCell()));
}
