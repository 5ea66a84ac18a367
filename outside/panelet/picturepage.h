#ifndef PICTUREPAGE_H
#define PICTUREPAGE_H

#include "panelet_global.h"

#include "analysisstore.h"
#include "pictureanalysis.h"
#include "temperatureplane.h"
#include "thermogram.h"

#include <QImage>
#include <QWidget>

class PaletteBar;
class PictureExportActions;
class ProfilePlot;
class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QStackedWidget;
class QTableWidget;
class QToolBar;
class ThermogramCanvas;

/**
 * Shows one picture scaled to fit, with its file name underneath. A picture that carries
 * temperatures is measured: the temperature under the pointer, the hottest and coldest spot
 * and the centre marked with their values, the colour scale labelled with its range, and the
 * conditions it was taken under. A picture without them says so in one line, and whether its
 * temperature block is missing or damaged.
 *
 * The page's own tool bars place spots, boxes, ellipses and lines, choose the palette, the
 * range and the isotherm, and correct the emissivity and reflected temperature; a table beside
 * the picture gives each tool's values, the ΔT between two tools, and a line's profile. The
 * analysis is kept per picture (AnalysisStore) whenever it changes and comes back when the
 * picture is opened again; the picture file is never written.
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
    /** The picture file's path, as given to setPicture(). */
    QString filePath() const { return fileName(); }
    const Thermogram &thermogram() const { return m_thermogram; }
    /** The temperatures as shown: the stored ones, or recomputed under the correction. */
    const TemperaturePlane &plane() const { return m_plane; }
    const PictureAnalysis &analysis() const { return m_analysis; }
    /** Replaces the analysis (tools, palette, range, isotherm, correction) and keeps it. */
    void setAnalysis(const PictureAnalysis &analysis);

    ThermogramCanvas *canvas() const { return m_canvas; }
    PaletteBar *paletteBar() const;
    /** The page's tool bar: the tools, palette, range and isotherm. Others may add actions. */
    QToolBar *toolBar() const { return m_toolBar; }
    QToolBar *correctionBar() const { return m_correctionBar; }
    /** Export…, Add to report and Report…, at the end of the correction bar. */
    PictureExportActions *exportActions() const { return m_exportActions; }
    QTableWidget *resultsTable() const { return m_results; }
    ProfilePlot *profilePlot() const { return m_profile; }
    /** Where analyses are kept; the user's data folder unless changed. */
    void setAnalysisStore(const AnalysisStore &store) { m_store = store; }

signals:
    /** The analysis or the plane changed (also while a tool is dragged). */
    void analysisChanged();

private:
    void buildToolBars();
    QWidget *buildSidePanel();
    void showPointer(const QPoint &cell);
    QString markersText() const;
    void applyAnalysis(bool keep);
    void keepAnalysis();
    void updateControls();
    void updateResults();
    void updateDeltaT();
    void controlsChanged();
    void correctionChanged();

    QImage m_image;
    Thermogram m_thermogram;
    TemperaturePlane m_plane;
    PictureAnalysis m_analysis;
    std::optional<Correction> m_planeCorrection; ///< the correction m_plane was made with
    AnalysisStore m_store;
    QString m_key; ///< the picture's key in the store; empty when it cannot be kept
    PictureAnalysis m_kept; ///< what the store holds for the picture
    bool m_updating = false; ///< controls being set from the analysis, not by the user

    ThermogramCanvas *m_canvas = nullptr;
    PictureExportActions *m_exportActions = nullptr;
    QToolBar *m_toolBar = nullptr;
    QToolBar *m_correctionBar = nullptr;
    QActionGroup *m_kinds = nullptr;
    QComboBox *m_palette = nullptr;
    QCheckBox *m_autoRange = nullptr;
    QDoubleSpinBox *m_rangeLow = nullptr;
    QDoubleSpinBox *m_rangeHigh = nullptr;
    QComboBox *m_isothermMode = nullptr;
    QDoubleSpinBox *m_isothermLow = nullptr;
    QDoubleSpinBox *m_isothermHigh = nullptr;
    QDoubleSpinBox *m_emissivity = nullptr;
    QDoubleSpinBox *m_reflected = nullptr;
    QLabel *m_correctionLabel = nullptr;
    QAction *m_resetCorrection = nullptr;
    QWidget *m_sidePanel = nullptr;
    QLabel *m_noticeLabel = nullptr;
    QTableWidget *m_results = nullptr;
    QComboBox *m_deltaA = nullptr;
    QComboBox *m_deltaStatA = nullptr;
    QComboBox *m_deltaB = nullptr;
    QComboBox *m_deltaStatB = nullptr;
    QLabel *m_deltaLabel = nullptr;
    ProfilePlot *m_profile = nullptr;
    QLabel *m_pointerLabel = nullptr;
    QStackedWidget *m_firstLine = nullptr; ///< the readings, or the line that says there are none
    QLabel *m_readingsLabel = nullptr;
    QLabel *m_conditionsLabel = nullptr;
    QLabel *m_noDataLabel = nullptr;
    QLabel *m_nameLabel = nullptr;
};

#endif // PICTUREPAGE_H
