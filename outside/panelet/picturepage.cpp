#include "picturepage.h"

#include "palettebar.h"
#include "thermogramcanvas.h"
#include "thermogramformat.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QStackedWidget>
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
    , m_pointerLabel(new QLabel(this))
    , m_readingsLabel(centredLabel(QStringLiteral("pictureReadingsLabel"), this))
    , m_conditionsLabel(centredLabel(QStringLiteral("pictureConditionsLabel"), this))
    , m_noDataLabel(centredLabel(QStringLiteral("pictureNoDataLabel"), this))
    , m_nameLabel(centredLabel(QStringLiteral("pictureNameLabel"), this))
{
    // Keys for moving between pictures reach the page, not a widget on another tab.
    setFocusPolicy(Qt::StrongFocus);

    // The pointer's value has room for the widest a block can give, so that nothing on its
    // line moves when a value appears.
    m_pointerLabel->setObjectName(QStringLiteral("picturePointerLabel"));
    const QFontMetrics metrics(font());
    int widest = 0;
    for (double celsius : { ThermogramFormat::MinCelsius, ThermogramFormat::MaxCelsius })
        widest = qMax(widest,
                      metrics.horizontalAdvance(
                          tr("Pointer %1").arg(ThermogramCanvas::celsiusText(celsius))));
    m_pointerLabel->setFixedWidth(widest + metrics.averageCharWidth());
    auto *readingsLine = new QWidget(this);
    auto *readings = new QHBoxLayout(readingsLine);
    readings->setContentsMargins(QMargins());
    readings->addStretch();
    readings->addWidget(m_pointerLabel);
    readings->addWidget(m_readingsLabel);
    readings->addStretch();
    // The readings and the line that says there are none take turns in one place.
    m_firstLine = new QStackedWidget(this);
    m_firstLine->addWidget(readingsLine);
    m_firstLine->addWidget(m_noDataLabel);

    // A picture with temperatures, one without them and no picture at all keep the lines
    // below the canvas the same height, so that the picture never changes its size. Each line
    // is as high as one with a value (a symbol from a fallback font can make it taller than
    // an empty one); the long ones give way to a narrow page rather than widen it.
    m_pointerLabel->setText(tr("Pointer %1").arg(ThermogramCanvas::celsiusText(0.0)));
    const int lineHeight = m_pointerLabel->sizeHint().height();
    m_pointerLabel->clear();
    for (QWidget *line : std::initializer_list<QWidget *> {
             m_firstLine, m_pointerLabel, m_readingsLabel, m_conditionsLabel, m_nameLabel }) {
        const bool shrinks = line == m_conditionsLabel || line == m_nameLabel;
        QSizePolicy policy(shrinks ? QSizePolicy::Ignored : QSizePolicy::Preferred,
                           QSizePolicy::Fixed);
        policy.setRetainSizeWhenHidden(true);
        line->setSizePolicy(policy);
        line->setFixedHeight(lineHeight);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_firstLine);
    layout->addWidget(m_conditionsLabel);
    layout->addWidget(m_nameLabel);

    connect(m_canvas, &ThermogramCanvas::pointerCellChanged, this, &PicturePage::showPointer);
}

void PicturePage::setPicture(const QImage &image, const QString &fileName,
                             const Thermogram &thermogram, bool temperaturesDamaged)
{
    m_image = image;
    m_thermogram = !image.isNull() && thermogram.isValid() ? thermogram : Thermogram();
    m_nameLabel->setText(QFileInfo(fileName).fileName());
    m_nameLabel->setToolTip(fileName);

    const bool measured = m_thermogram.isValid();
    m_firstLine->setCurrentIndex(measured ? 0 : 1);
    m_firstLine->setVisible(!image.isNull());
    m_conditionsLabel->setVisible(measured);
    if (measured) {
        const QDateTime captured = m_thermogram.captureTime.toLocalTime();
        const QString gap = QStringLiteral("    ");
        m_conditionsLabel->setText(
            tr("Emissivity %1").arg(QString::number(m_thermogram.emissivity, 'f', 2)) + gap
            + tr("Reflected %1").arg(ThermogramCanvas::celsiusText(m_thermogram.reflectedCelsius))
            + gap + tr("Ambient %1").arg(ThermogramCanvas::celsiusText(m_thermogram.ambientCelsius))
            + gap + tr("Distance %1 m").arg(QString::number(m_thermogram.distanceMetres, 'f', 1))
            + gap + tr("Captured %1").arg(QLocale().toString(captured, QLocale::ShortFormat)));
        m_noDataLabel->clear();
    } else {
        m_pointerLabel->clear();
        m_readingsLabel->clear();
        m_conditionsLabel->clear();
        if (image.isNull())
            m_noDataLabel->clear();
        else if (temperaturesDamaged)
            m_noDataLabel->setText(tr("The temperature data of this picture is damaged."));
        else
            m_noDataLabel->setText(tr("This picture has no temperature data."));
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
    m_pointerLabel->setText(tr("Pointer %1").arg(pointer));
    m_readingsLabel->setText(markersText());
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
