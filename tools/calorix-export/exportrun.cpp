#include "exportrun.h"

#include "exportfile.h"
#include "findfiles.h"
#include "picturechecks.h"
#include "pictureexport.h"
#include "qurlinfo.h"
#include "thermogramformat.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include <cstdio>

namespace {

void writeLine(FILE *stream, const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
}

} // namespace

ExportRun::ExportRun(const ExportOptions &options)
    : m_options(options)
{ }

QStringList ExportRun::picturesIn(const QString &folder)
{
    QFileInfoList candidates;
    findFiles(folder, QStringLiteral("bmp"), candidates);
    const QList<QUrlInfo *> records = pictureRecords(candidates);
    QStringList paths;
    paths.reserve(records.size());
    for (const QUrlInfo *record : records)
        paths.append(record->name());
    qDeleteAll(records);
    return paths;
}

void ExportRun::complain(const QString &message)
{
    writeLine(stderr, QStringLiteral("calorix-export: %1").arg(message).toUtf8());
}

int ExportRun::run()
{
    if (!findPictures() || !checkTools() || !checkOutputs())
        return 2;
    // A path that is not there is one picture that could not be read; the others are done.
    bool allDone = m_missing.isEmpty();
    for (const QString &path : qAsConst(m_missing))
        complain(QStringLiteral("%1: no such file or folder").arg(path));
    for (int index = 0; index < m_pictures.size(); ++index)
        allDone = exportPicture(index) && allDone;
    if (!m_options.reportFile.isEmpty())
        allDone = writeReport() && allDone;
    return allDone ? 0 : 1;
}

bool ExportRun::findPictures()
{
    for (const QString &path : qAsConst(m_options.paths)) {
        const QFileInfo info(path);
        if (info.isDir())
            m_pictures += picturesIn(path);
        else if (info.exists())
            m_pictures.append(path); // named on purpose: tried even if it is not one of ours
        else
            m_missing.append(path);
    }
    if (m_pictures.isEmpty()) {
        complain(
            QStringLiteral("no picture found in %1").arg(m_options.paths.join(QLatin1Char(' '))));
        return false;
    }
    planOutputNames();
    return true;
}

bool ExportRun::checkTools()
{
    if (m_options.tools.isEmpty())
        return true;
    // The instrument's pictures share one plane size; the first picture with data tells it.
    for (const QString &path : qAsConst(m_pictures)) {
        const auto thermogram = ThermogramFormat::readFile(path);
        if (!thermogram)
            continue;
        const QRect plane(QPoint(0, 0), thermogram->planeSize);
        for (const MeasurementTool &tool : qAsConst(m_options.tools)) {
            if (!plane.contains(tool.bounds())) {
                complain(QStringLiteral("%1 lies outside the %2 x %3 plane of %4")
                             .arg(ExportOptions::toolText(tool))
                             .arg(thermogram->planeSize.width())
                             .arg(thermogram->planeSize.height())
                             .arg(path));
                return false;
            }
        }
        return true;
    }
    return true; // no picture has data: each is named when it is done
}

void ExportRun::planOutputNames()
{
    // One name per picture that no other picture of the run takes: the file's base name, with
    // its folder's name before it when two folders hold the same name, numbered if need be.
    QSet<QString> taken;
    m_outputNames.clear();
    for (const QString &path : qAsConst(m_pictures)) {
        const QFileInfo info(path);
        QString name = info.completeBaseName();
        if (taken.contains(name.toLower()))
            name = info.dir().dirName() + QLatin1Char('_') + name;
        const QString base = name;
        for (int number = 2; taken.contains(name.toLower()); ++number)
            name = base + QLatin1Char('-') + QString::number(number);
        taken.insert(name.toLower());
        m_outputNames.append(name);
    }
}

QString ExportRun::outputPath(const QString &folder, int picture, const char *suffix) const
{
    return QDir(folder).filePath(m_outputNames.at(picture) + QLatin1String(suffix));
}

bool ExportRun::checkOutputs()
{
    const QVector<std::pair<QString, const char *>> folders = {
        { m_options.csvFolder, ".csv" },
        { m_options.tiffFolder, ".tiff" },
        { m_options.pngFolder, ".png" },
    };
    // Every check before any folder is made: when one fails, nothing at all has changed.
    const auto exists = [this](const QString &path) {
        if (m_options.force || !QFileInfo::exists(path))
            return false;
        complain(QStringLiteral("%1 exists (--force replaces it)").arg(path));
        return true;
    };
    for (const auto &[folder, suffix] : folders) {
        for (int index = 0; !folder.isEmpty() && index < m_pictures.size(); ++index) {
            if (exists(outputPath(folder, index, suffix)))
                return false;
        }
    }
    if (!m_options.reportFile.isEmpty() && exists(m_options.reportFile))
        return false;

    QString error;
    for (const auto &[folder, suffix] : folders) {
        if (!folder.isEmpty() && !ExportFile::canWriteIn(folder, &error)) {
            complain(QStringLiteral("cannot write in %1: %2").arg(folder, error));
            return false;
        }
    }
    const QFileInfo report(m_options.reportFile);
    if (!m_options.reportFile.isEmpty()
        && (report.isDir() || !ExportFile::canWriteIn(report.absolutePath(), &error))) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(m_options.reportFile,
                          report.isDir() ? QStringLiteral("it is a folder") : error));
        return false;
    }
    return true;
}

PictureAnalysis ExportRun::analysisFor(const QString &path, const Thermogram &thermogram) const
{
    PictureAnalysis analysis
        = m_options.saved ? PictureExport::savedAnalysis(path) : PictureAnalysis();
    if (!m_options.tools.isEmpty())
        analysis.tools = m_options.tools;
    if (!m_options.palette.isEmpty())
        analysis.palette = *ThermalPalette::fromName(m_options.palette);
    if (m_options.range)
        analysis.range = ColourRange::manual(m_options.range->first, m_options.range->second);
    if (m_options.emissivity || m_options.reflectedCelsius) {
        // A correction given in part keeps the rest of what is in effect.
        Correction correction = analysis.correction.value_or(
            Correction { thermogram.emissivity, thermogram.reflectedCelsius });
        correction.emissivity = m_options.emissivity.value_or(correction.emissivity);
        correction.reflectedCelsius
            = m_options.reflectedCelsius.value_or(correction.reflectedCelsius);
        analysis.correction = correction;
    }
    return analysis;
}

bool ExportRun::exportPicture(int index)
{
    const QString &path = m_pictures.at(index);
    const QFileInfo info(path);
    const auto thermogram = ThermogramFormat::readFile(path);
    if (!thermogram) {
        if (m_options.json)
            writeLine(stdout, PictureExport::noDataJsonLine(path));
        complain(info.isReadable() ? QStringLiteral("%1: no temperature data").arg(path)
                                   : QStringLiteral("%1: cannot be read").arg(path));
        return false;
    }
    const PictureExport picture(info.fileName(), *thermogram, analysisFor(path, *thermogram));
    bool written = true;
    const auto write = [&](const QString &folder, const char *suffix, const QByteArray &bytes) {
        if (folder.isEmpty())
            return;
        const QString target = outputPath(folder, index, suffix);
        QString error;
        if (!ExportFile::write(target, bytes, &error)) {
            complain(QStringLiteral("%1: %2").arg(target, error));
            written = false;
        }
    };
    if (!m_options.csvFolder.isEmpty())
        write(m_options.csvFolder, ".csv", picture.csv());
    if (!m_options.tiffFolder.isEmpty())
        write(m_options.tiffFolder, ".tiff", picture.tiff());
    if (!m_options.pngFolder.isEmpty())
        write(m_options.pngFolder, ".png", picture.png());
    if (m_options.json)
        writeLine(stdout, picture.jsonLine(path));
    m_measured.append(index);
    return written;
}

bool ExportRun::writeReport()
{
    ReportTitle title;
    title.title = m_options.title;
    title.date = QDate::currentDate();
    // Each page's picture is read again when its turn comes: one picture in memory at a time.
    const auto page = [this](int number) {
        const QString &path = m_pictures.at(m_measured.at(number));
        const Thermogram thermogram = ThermogramFormat::readFile(path).value_or(Thermogram());
        return PictureExport(QFileInfo(path).fileName(), thermogram, analysisFor(path, thermogram))
            .reportPage();
    };
    QString error;
    if (ReportWriter::write(m_options.reportFile, title, m_measured.size(), page, {}, &error)
        != ReportWriter::Result::Written) {
        complain(QStringLiteral("%1: %2").arg(m_options.reportFile, error));
        return false;
    }
    return true;
}
