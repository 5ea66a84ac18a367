#ifndef EXPORTOPTIONS_H
#define EXPORTOPTIONS_H

#include "measurementtool.h"

#include <QStringList>
#include <QVector>

#include <optional>

/**
 * What calorix-export was asked to do, read and checked from its arguments. Anything wrong
 * with them leaves an error message of one line, and the program does nothing.
 */
struct ExportOptions
{
    QStringList paths;
    QString csvFolder;
    QString tiffFolder;
    QString pngFolder;
    QString reportFile;
    QString title;
    QVector<MeasurementTool> tools; ///< named Sp1, Bx1, … in the order given
    std::optional<double> emissivity;
    std::optional<double> reflectedCelsius;
    QString palette;
    std::optional<std::pair<double, double>> range;
    bool saved = false;
    bool json = false;
    bool force = false;
    QString language = QStringLiteral("EN");

    /** How the user gave a tool: "Bx1 (--box 1,2,3,4)". */
    static QString toolText(const MeasurementTool &tool);

    enum class Parsed { Run, Help, Version, Error };
    /** Reads arguments (the program's name first); help and version texts go to text. */
    Parsed parse(const QStringList &arguments, QString *text);
};

#endif // EXPORTOPTIONS_H
