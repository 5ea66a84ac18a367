#ifndef EXPORTOPTIONS_H
#define EXPORTOPTIONS_H

#include <QRect>
#include <QStringList>
#include <QVector>

#include <optional>

/** A measurement tool as given on the command line, in plane cells. */
struct ToolOption
{
    enum Kind { Spot, Box, Ellipse, Line };
    Kind kind = Spot;
    QString name; ///< Sp1, Bx1, El1, Li1, … in the order given
    QPoint first; ///< the spot; a line's start
    QPoint second; ///< a line's end
    QRect box; ///< a box's or an ellipse's

    /** Whether every cell the tool names lies in a plane of size. */
    bool fitsIn(const QSize &size) const;
    QString text() const; ///< "Bx1 (--box 1,2,3,4)"
};

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
    QVector<ToolOption> tools;
    std::optional<double> emissivity;
    std::optional<double> reflectedCelsius;
    QString palette;
    std::optional<std::pair<double, double>> range;
    bool saved = false;
    bool json = false;
    bool force = false;
    QString language = QStringLiteral("EN");

    static constexpr int MaxTools = 10;

    enum class Parsed { Run, Help, Version, Error };
    /** Reads arguments (the program's name first); help and version texts go to text. */
    Parsed parse(const QStringList &arguments, QString *text);
};

#endif // EXPORTOPTIONS_H
