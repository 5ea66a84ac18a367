#include "picturepage.h"

#include "palettebar.h"
#include "pictureexportactions.h"
#include "profileplot.h"
#include "thermogramcanvas.h"
#include "thermogramformat.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLabel *centredLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QDoubleSpinBox *spinBox(const QString &name, double minimum, double maximum, int decimals,
                        double step, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    // A value counts once it is typed out (Enter or leaving the box), not at each digit.
    box->setKeyboardTracking(false);
    return box;
}

// Which statistic of a tool a ΔT takes.
enum Statistic { Value, Minimum, Maximum, Average };

double statisticOf(const ToolStatistics &s, int statistic)
{
    if (!s.hasValue())
        return qQNaN();
    switch (statistic) {
    case Minimum:
        return s.minimum;
    case Maximum:
        return s.maximum;
    default:
        return s.average;
    }
}

// A box's value, or stored when the box shows stored rounded to its decimals (as setValue()
// rounds it): a block's 0.955 shows as 0.95 or 0.96 and still means 0.955.
double valueOr(const QDoubleSpinBox *box, double stored)
{
    return box->value() == QString::number(stored, 'f', box->decimals()).toDouble() ? stored
                                                                                    : box->value();
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
                          tr("Pointer %1").arg(ThermogramPainter::celsiusText(celsius))));
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
    m_pointerLabel->setText(tr("Pointer %1").arg(ThermogramPainter::celsiusText(0.0)));
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

    buildToolBars();
    // The first tool bar is full with the measuring controls; the second has room.
    m_exportActions = new PictureExportActions(this, m_correctionBar);
    m_sidePanel = buildSidePanel();
    auto *pictureRow = new QHBoxLayout;
    pictureRow->addWidget(m_canvas, 1);
    pictureRow->addWidget(m_sidePanel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_correctionBar);
    layout->addLayout(pictureRow, 1);
    layout->addWidget(m_firstLine);
    layout->addWidget(m_conditionsLabel);
    layout->addWidget(m_nameLabel);

    connect(m_canvas, &ThermogramCanvas::pointerCellChanged, this, &PicturePage::showPointer);
    connect(m_canvas, &ThermogramCanvas::toolsEdited, this,
            [this](const QVector<MeasurementTool> &tools, bool finished) {
                m_analysis.tools = tools;
                for (QAction *action : m_kinds->actions())
                    action->setEnabled(tools.size() < PictureAnalysis::MaxTools);
                updateResults();
                if (finished) {
                    keepAnalysis();
                    // Not during a drag: the picture would move under the pointer.
                    updateSidePanel();
                }
                emit analysisChanged();
            });
    connect(m_canvas, &ThermogramCanvas::toolPlaced, this, [this] {
        // Back to selecting and dragging once a tool is down.
        if (QAction *checked = m_kinds->checkedAction())
            checked->setChecked(false);
        m_canvas->setPlacingKind(std::nullopt);
    });
    connect(m_canvas, &ThermogramCanvas::selectedToolChanged, this, [this](int index) {
        m_updating = true;
        m_results->selectRow(index);
        if (index < 0)
            m_results->clearSelection();
        m_updating = false;
        updateResults();
    });
    connect(paletteBar(), &PaletteBar::rangeDragged, this,
            [this](double low, double high, bool finished) {
                m_analysis.range = ColourRange::manual(low, high);
                applyAnalysis(finished);
            });
    setPicture(QImage(), QString());
}

void PicturePage::buildToolBars()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("pictureToolBar"));
    m_kinds = new QActionGroup(this);
    m_kinds->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<MeasurementTool::Kind, QString> kinds[]
        = { { MeasurementTool::Spot, tr("Spot") },
            { MeasurementTool::Box, tr("Box") },
            { MeasurementTool::Ellipse, tr("Ellipse") },
            { MeasurementTool::Line, tr("Line") } };
    for (const auto &[kind, text] : kinds) {
        QAction *action = m_toolBar->addAction(text);
        action->setObjectName(QStringLiteral("place") + MeasurementTool::kindName(kind));
        action->setCheckable(true);
        action->setToolTip(kind == MeasurementTool::Spot
                               ? tr("Place a spot: click on the picture")
                               : tr("Place a %1: drag across the picture").arg(text.toLower()));
        action->setData(int(kind));
        m_kinds->addAction(action);
        connect(action, &QAction::toggled, this, [this, action, kind = kind](bool on) {
            if (on)
                m_canvas->setPlacingKind(kind);
            else if (m_canvas->placingKind() == kind && !m_kinds->checkedAction())
                m_canvas->setPlacingKind(std::nullopt);
            Q_UNUSED(action);
        });
    }

    m_toolBar->addSeparator();
    m_palette = new QComboBox(m_toolBar);
    m_palette->setObjectName(QStringLiteral("paletteChoice"));
    for (const ThermalPalette::Kind kind : ThermalPalette::kinds())
        m_palette->addItem(ThermalPalette::displayName(kind), int(kind));
    m_palette->setToolTip(tr("Palette"));
    m_toolBar->addWidget(m_palette);

    m_toolBar->addSeparator();
    m_autoRange = new QCheckBox(tr("Automatic range"), m_toolBar);
    m_autoRange->setObjectName(QStringLiteral("autoRange"));
    m_rangeLow = spinBox(QStringLiteral("rangeLow"), PictureAnalysis::MinCelsius,
                         PictureAnalysis::MaxCelsius, 1, 1.0, m_toolBar);
    m_rangeHigh = spinBox(QStringLiteral("rangeHigh"), PictureAnalysis::MinCelsius,
                          PictureAnalysis::MaxCelsius, 1, 1.0, m_toolBar);
    m_rangeLow->setToolTip(tr("Lowest temperature of the scale"));
    m_rangeHigh->setToolTip(tr("Highest temperature of the scale"));
    m_toolBar->addWidget(m_autoRange);
    m_toolBar->addWidget(m_rangeLow);
    m_toolBar->addWidget(m_rangeHigh);

    m_toolBar->addSeparator();
    m_isothermMode = new QComboBox(m_toolBar);
    m_isothermMode->setObjectName(QStringLiteral("isothermMode"));
    m_isothermMode->addItem(tr("No isotherm"), int(Isotherm::Off));
    m_isothermMode->addItem(tr("Isotherm above"), int(Isotherm::Above));
    m_isothermMode->addItem(tr("Isotherm within"), int(Isotherm::Within));
    m_isothermLow = spinBox(QStringLiteral("isothermLow"), PictureAnalysis::MinCelsius,
                            PictureAnalysis::MaxCelsius, 1, 1.0, m_toolBar);
    m_isothermHigh = spinBox(QStringLiteral("isothermHigh"), PictureAnalysis::MinCelsius,
                             PictureAnalysis::MaxCelsius, 1, 1.0, m_toolBar);
    m_toolBar->addWidget(m_isothermMode);
    m_toolBar->addWidget(m_isothermLow);
    m_toolBar->addWidget(m_isothermHigh);
    for (QDoubleSpinBox *box : { m_rangeLow, m_rangeHigh, m_isothermLow, m_isothermHigh })
        box->setSuffix(QStringLiteral(" °C"));

    m_correctionBar = new QToolBar(this);
    m_correctionBar->setObjectName(QStringLiteral("pictureCorrectionBar"));
    m_emissivity = spinBox(QStringLiteral("emissivity"), 0.01, 1.0, 2, 0.01, m_correctionBar);
    m_reflected = spinBox(QStringLiteral("reflected"), RadiometricCorrection::MinCelsius,
                          RadiometricCorrection::MaxCelsius, 1, 0.5, m_correctionBar);
    m_reflected->setSuffix(QStringLiteral(" °C"));
    m_emissivity->setPrefix(tr("Emissivity") + QLatin1Char(' '));
    m_reflected->setPrefix(tr("Reflected") + QLatin1Char(' '));
    m_correctionBar->addWidget(m_emissivity);
    m_correctionBar->addWidget(m_reflected);
    m_correctionBar->addSeparator();
    m_correctionLabel = new QLabel(m_correctionBar);
    m_correctionLabel->setObjectName(QStringLiteral("correctionLabel"));
    m_correctionBar->addWidget(m_correctionLabel);
    m_resetCorrection = m_correctionBar->addAction(tr("Stored values"));
    m_resetCorrection->setObjectName(QStringLiteral("resetCorrection"));
    m_resetCorrection->setToolTip(
        tr("Go back to the emissivity and reflected temperature stored with the picture"));

    connect(m_palette, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PicturePage::controlsChanged);
    connect(m_autoRange, &QCheckBox::toggled, this, &PicturePage::controlsChanged);
    connect(m_isothermMode, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PicturePage::controlsChanged);
    // A typed bound makes the range a manual one.
    for (QDoubleSpinBox *box : { m_rangeLow, m_rangeHigh })
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this] {
            if (m_updating)
                return;
            m_updating = true;
            m_autoRange->setChecked(false);
            m_updating = false;
            controlsChanged();
        });
    for (QDoubleSpinBox *box : { m_isothermLow, m_isothermHigh })
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                &PicturePage::controlsChanged);
    for (QDoubleSpinBox *box : { m_emissivity, m_reflected })
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                &PicturePage::correctionChanged);
    connect(m_resetCorrection, &QAction::triggered, this, [this] {
        m_analysis.correction.reset();
        applyAnalysis(true);
    });
}

QWidget *PicturePage::buildSidePanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pictureSidePanel"));
    // Shown while there are tools to report on; without them the picture has the room.
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    panel->setFixedWidth(qMax(260, fontMetrics().averageCharWidth() * 40));

    m_noticeLabel = new QLabel(panel);
    m_noticeLabel->setObjectName(QStringLiteral("analysisNoticeLabel"));
    m_noticeLabel->setWordWrap(true);
    m_noticeLabel->hide();

    m_results = new QTableWidget(0, 4, panel);
    m_results->setObjectName(QStringLiteral("toolResults"));
    m_results->setHorizontalHeaderLabels({ tr("Tool"), tr("Min"), tr("Max"), tr("Average") });
    m_results->verticalHeader()->hide();
    m_results->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_results, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!m_updating)
            m_canvas->setSelectedTool(row);
    });

    auto *delta = new QGroupBox(tr("ΔT: first tool − second tool"), panel);
    m_deltaA = new QComboBox(delta);
    m_deltaStatA = new QComboBox(delta);
    m_deltaB = new QComboBox(delta);
    m_deltaStatB = new QComboBox(delta);
    m_deltaLabel = new QLabel(delta);
    m_deltaLabel->setObjectName(QStringLiteral("deltaLabel"));
    m_deltaA->setObjectName(QStringLiteral("deltaA"));
    m_deltaB->setObjectName(QStringLiteral("deltaB"));
    m_deltaStatA->setObjectName(QStringLiteral("deltaStatisticA"));
    m_deltaStatB->setObjectName(QStringLiteral("deltaStatisticB"));
    auto *grid = new QGridLayout(delta);
    grid->addWidget(m_deltaA, 0, 0);
    grid->addWidget(m_deltaStatA, 0, 1);
    grid->addWidget(m_deltaB, 1, 0);
    grid->addWidget(m_deltaStatB, 1, 1);
    grid->addWidget(m_deltaLabel, 2, 0, 1, 2);
    for (QComboBox *box : { m_deltaA, m_deltaB })
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
            if (!m_updating)
                updateResults();
        });
    for (QComboBox *box : { m_deltaStatA, m_deltaStatB })
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
            if (!m_updating)
                updateDeltaT();
        });

    m_profile = new ProfilePlot(panel);
    m_profile->setObjectName(QStringLiteral("lineProfile"));

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(QMargins());
    layout->addWidget(m_noticeLabel);
    layout->addWidget(m_results, 1);
    layout->addWidget(delta);
    layout->addWidget(m_profile);
    return panel;
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

    // The analysis kept for this picture's content, if any.
    m_analysis = PictureAnalysis();
    m_kept = PictureAnalysis();
    m_key.clear();
    m_noticeLabel->clear();
    m_noticeLabel->hide();
    if (measured) {
        m_key = AnalysisStore::keyForFile(fileName);
        if (!m_key.isEmpty() && m_store.load(m_key, &m_analysis) == AnalysisStore::Damaged) {
            m_noticeLabel->setText(
                tr("The saved analysis of this picture is damaged and was not used."));
            m_noticeLabel->show();
        }
        m_kept = m_analysis;
    }
    m_planeCorrection.reset();
    m_plane = TemperaturePlane::fromThermogram(m_thermogram);
    m_canvas->setPicture(m_image, m_thermogram);
    if (QAction *checked = m_kinds->checkedAction())
        checked->setChecked(false);
    m_toolBar->setEnabled(measured);
    // The correction bar also carries the report's actions, which a picture without
    // temperatures must not hide: only its measuring boxes follow the picture.
    m_emissivity->setEnabled(measured);
    m_reflected->setEnabled(measured);
    applyAnalysis(false);
    showPointer(m_canvas->pointerCell());
}

void PicturePage::clear()
{
    setPicture(QImage(), QString());
    m_nameLabel->clear();
    m_nameLabel->setToolTip(QString());
}

void PicturePage::setAnalysis(const PictureAnalysis &analysis)
{
    m_analysis = analysis;
    applyAnalysis(true);
}

PaletteBar *PicturePage::paletteBar() const
{
    return m_canvas->paletteBar();
}

QString PicturePage::fileName() const
{
    return m_nameLabel->toolTip();
}

void PicturePage::applyAnalysis(bool keep)
{
    if (m_thermogram.isValid()) {
        if (m_analysis.correction != m_planeCorrection) {
            m_plane = TemperaturePlane::fromThermogram(m_thermogram, m_analysis.correction);
            m_planeCorrection = m_analysis.correction;
        }
        m_canvas->setMeasurement(m_plane, m_analysis);
    }
    updateControls();
    updateResults();
    if (m_thermogram.isValid())
        m_conditionsLabel->setText(conditionsText());
    showPointer(m_canvas->pointerCell());
    if (keep)
        keepAnalysis();
    updateSidePanel();
    emit analysisChanged();
}

void PicturePage::keepAnalysis()
{
    if (m_key.isEmpty() || m_analysis == m_kept)
        return;
    if (m_store.save(m_key, m_analysis)) {
        m_kept = m_analysis;
        m_noticeLabel->hide(); // what it said is past: the analysis is kept as it is now
    } else {
        qWarning("Could not keep the analysis of %s", qPrintable(fileName()));
        m_noticeLabel->setText(tr("The analysis of this picture could not be kept in %1.")
                                   .arg(QDir::toNativeSeparators(m_store.folder())));
        m_noticeLabel->show();
    }
}

void PicturePage::updateSidePanel()
{
    // Shown while there are tools to report on or a notice to read; otherwise the picture
    // has the room.
    m_sidePanel->setVisible(m_thermogram.isValid()
                            && (!m_analysis.tools.isEmpty() || !m_noticeLabel->isHidden()));
}

void PicturePage::updateControls()
{
    m_updating = true;
    m_palette->setCurrentIndex(m_palette->findData(int(m_analysis.palette)));
    m_autoRange->setChecked(m_analysis.range.automatic);
    // An automatic range over no valued cell has no bounds: the boxes keep theirs.
    if (const double low = m_analysis.range.lowFor(m_plane); !std::isnan(low))
        m_rangeLow->setValue(low);
    if (const double high = m_analysis.range.highFor(m_plane); !std::isnan(high))
        m_rangeHigh->setValue(high);
    m_isothermMode->setCurrentIndex(m_isothermMode->findData(int(m_analysis.isotherm.mode)));
    if (m_analysis.isotherm.mode != Isotherm::Off) {
        m_isothermLow->setValue(m_analysis.isotherm.low);
        if (m_analysis.isotherm.mode == Isotherm::Within)
            m_isothermHigh->setValue(m_analysis.isotherm.high);
    }
    m_isothermLow->setEnabled(m_analysis.isotherm.mode != Isotherm::Off);
    m_isothermHigh->setEnabled(m_analysis.isotherm.mode == Isotherm::Within);
    const Correction shown = m_analysis.correction.value_or(
        Correction { m_thermogram.emissivity, m_thermogram.reflectedCelsius });
    m_emissivity->setValue(shown.emissivity);
    m_reflected->setValue(shown.reflectedCelsius);
    // Marked out while in effect; empty (and so unseen) otherwise, without moving anything.
    m_correctionLabel->setText(m_analysis.correction ? tr("Correction in effect") : QString());
    m_correctionLabel->setStyleSheet(
        m_analysis.correction ? QStringLiteral("QLabel { background: #ffb000; color: black; "
                                               "padding: 1px 6px; border-radius: 3px; }")
                              : QString());
    m_resetCorrection->setEnabled(m_thermogram.isValid() && m_analysis.correction.has_value());
    for (QAction *action : m_kinds->actions())
        action->setEnabled(m_analysis.tools.size() < PictureAnalysis::MaxTools);
    m_updating = false;
}

void PicturePage::controlsChanged()
{
    if (m_updating)
        return;
    m_analysis.palette = ThermalPalette::Kind(m_palette->currentData().toInt());
    if (m_autoRange->isChecked())
        m_analysis.range = ColourRange();
    else if (m_rangeLow->value() < m_rangeHigh->value())
        m_analysis.range = ColourRange::manual(m_rangeLow->value(), m_rangeHigh->value());
    const auto mode = Isotherm::Mode(m_isothermMode->currentData().toInt());
    if (mode != Isotherm::Off && m_analysis.isotherm.mode == Isotherm::Off) {
        // Switched on: start with the top tenth of the picture's range.
        const double high = m_plane.maximum();
        const double low = high - 0.1 * (high - m_plane.minimum());
        m_updating = true;
        m_isothermLow->setValue(std::round(low * 10.0) / 10.0);
        m_isothermHigh->setValue(std::round(high * 10.0) / 10.0);
        m_updating = false;
    }
    m_analysis.isotherm.mode = mode;
    m_analysis.isotherm.low = mode == Isotherm::Off ? 0.0 : m_isothermLow->value();
    m_analysis.isotherm.high = mode == Isotherm::Within ? m_isothermHigh->value() : 0.0;
    if (mode == Isotherm::Within && m_analysis.isotherm.high < m_analysis.isotherm.low)
        std::swap(m_analysis.isotherm.low, m_analysis.isotherm.high);
    applyAnalysis(true);
}

void PicturePage::correctionChanged()
{
    if (m_updating)
        return;
    // A box left at the block's value keeps it exactly; the block's own values are no
    // correction.
    const Correction stored { m_thermogram.emissivity, m_thermogram.reflectedCelsius };
    const Correction wanted { valueOr(m_emissivity, stored.emissivity),
                              valueOr(m_reflected, stored.reflectedCelsius) };
    if (wanted == stored)
        m_analysis.correction.reset();
    else
        m_analysis.correction = wanted;
    applyAnalysis(true);
}

void PicturePage::updateResults()
{
    const QVector<MeasurementTool> &tools = m_analysis.tools;
    m_updating = true;
    m_results->clearSpans();
    m_results->setRowCount(tools.size());
    int lineToShow = -1;
    for (int row = 0; row < tools.size(); ++row) {
        const MeasurementTool &tool = tools.at(row);
        const ToolStatistics s = tool.measure(m_plane);
        const auto text = [&s](double value) {
            return s.hasValue() ? ThermogramPainter::celsiusText(value) : QStringLiteral("—");
        };
        QStringList cells = { tool.name };
        if (tool.kind == MeasurementTool::Spot)
            cells << text(s.average) << QString() << QString();
        else
            cells << text(s.minimum) << text(s.maximum) << text(s.average);
        for (int column = 0; column < cells.size(); ++column) {
            QTableWidgetItem *item = m_results->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_results->setItem(row, column, item);
            }
            item->setText(cells.at(column));
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignCenter);
        }
        // A spot has one value, across the three columns.
        if (tool.kind == MeasurementTool::Spot)
            m_results->setSpan(row, 1, 1, 3);
        if (tool.kind == MeasurementTool::Line
            && (lineToShow < 0 || row == m_canvas->selectedTool()))
            lineToShow = row;
    }
    if (m_canvas->selectedTool() >= 0)
        m_results->selectRow(m_canvas->selectedTool());

    // The ΔT choices keep their tools by name while tools come and go.
    for (QComboBox *box : { m_deltaA, m_deltaB }) {
        const QString chosen = box->currentText();
        QStringList names;
        for (const MeasurementTool &tool : tools)
            names << tool.name;
        if (names != [box] {
                QStringList items;
                for (int i = 0; i < box->count(); ++i)
                    items << box->itemText(i);
                return items;
            }()) {
            box->clear();
            box->addItems(names);
            const int index = names.indexOf(chosen);
            box->setCurrentIndex(index >= 0 ? index
                                            : (box == m_deltaB && names.size() > 1 ? 1 : 0));
        }
    }
    for (const auto &[tool, statistic] :
         { std::pair(m_deltaA, m_deltaStatA), std::pair(m_deltaB, m_deltaStatB) }) {
        const int index = tool->currentIndex();
        const bool spot = index >= 0 && tools.at(index).kind == MeasurementTool::Spot;
        const int wanted = spot ? 1 : 3;
        if (statistic->count() != wanted) {
            const int previous = statistic->currentData().toInt();
            statistic->clear();
            if (spot) {
                statistic->addItem(tr("Value"), int(Value));
            } else {
                statistic->addItem(tr("Max"), int(Maximum));
                statistic->addItem(tr("Min"), int(Minimum));
                statistic->addItem(tr("Average"), int(Average));
                const int keep = statistic->findData(previous);
                statistic->setCurrentIndex(keep >= 0 ? keep : 0);
            }
        }
    }
    m_updating = false;
    updateDeltaT();

    m_profile->setVisible(lineToShow >= 0);
    if (lineToShow >= 0)
        m_profile->setProfile(tr("Profile of %1").arg(tools.at(lineToShow).name),
                              tools.at(lineToShow).profile(m_plane));
    else
        m_profile->setProfile(QString(), {});
}

void PicturePage::updateDeltaT()
{
    const QVector<MeasurementTool> &tools = m_analysis.tools;
    const int a = m_deltaA->currentIndex();
    const int b = m_deltaB->currentIndex();
    if (tools.size() < 2 || a < 0 || b < 0 || a >= tools.size() || b >= tools.size()) {
        m_deltaLabel->setText(tools.isEmpty() ? QString() : tr("Place two tools to compare them."));
        return;
    }
    const double first
        = statisticOf(tools.at(a).measure(m_plane), m_deltaStatA->currentData().toInt());
    const double second
        = statisticOf(tools.at(b).measure(m_plane), m_deltaStatB->currentData().toInt());
    const double difference = first - second;
    QString text = std::isnan(difference)
        ? QStringLiteral("—")
        : QString::number(difference, 'f', 1) + QStringLiteral(" K");
    if (text.startsWith(QLatin1String("-0.0 ")))
        text.remove(0, 1);
    m_deltaLabel->setText(tr("ΔT = %1").arg(text));
}

void PicturePage::showPointer(const QPoint &cell)
{
    if (!m_thermogram.isValid())
        return;
    const QString pointer = cell.x() >= 0 ? ThermogramPainter::celsiusText(m_plane.valueAt(cell))
                                          : QStringLiteral("—");
    m_pointerLabel->setText(tr("Pointer %1").arg(pointer));
    m_readingsLabel->setText(markersText());
}

QString PicturePage::markersText() const
{
    const auto value = [this](const QPoint &cell) {
        return ThermogramPainter::celsiusText(m_plane.valueAt(cell));
    };
    return tr("Hottest %1").arg(value(m_plane.hottestCell())) + QStringLiteral("    ")
        + tr("Coldest %1").arg(value(m_plane.coldestCell())) + QStringLiteral("    ")
        + tr("Centre %1").arg(value(m_plane.centreCell()));
}

QString PicturePage::conditionsText() const
{
    // The values the temperatures are computed with; one a correction changed names the
    // stored one beside it, so that the line never reads as if the picture were taken so.
    const Correction stored { m_thermogram.emissivity, m_thermogram.reflectedCelsius };
    const Correction used = m_analysis.correction.value_or(stored);
    const auto shown = [](const QString &value, const QString &storedValue) {
        return value == storedValue ? value : tr("%1 (stored %2)").arg(value, storedValue);
    };
    const QString gap = QStringLiteral("    ");
    const QDateTime captured = m_thermogram.captureTime.toLocalTime();
    return tr("Emissivity %1")
               .arg(shown(QString::number(used.emissivity, 'f', 2),
                          QString::number(stored.emissivity, 'f', 2)))
        + gap
        + tr("Reflected %1")
              .arg(shown(ThermogramPainter::celsiusText(used.reflectedCelsius),
                         ThermogramPainter::celsiusText(stored.reflectedCelsius)))
        + gap + tr("Ambient %1").arg(ThermogramPainter::celsiusText(m_thermogram.ambientCelsius))
        + gap + tr("Distance %1 m").arg(QString::number(m_thermogram.distanceMetres, 'f', 1)) + gap
        + tr("Captured %1").arg(QLocale().toString(captured, QLocale::ShortFormat));
}
