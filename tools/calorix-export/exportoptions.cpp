#include "exportoptions.h"

#include "pictureanalysis.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>

namespace {

/** Numbers separated by commas: count integers (or reals), none missing. */
std::optional<QVector<double>> numbers(const QString &text, int count, bool integers)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return std::nullopt;
    QVector<double> values;
    for (const QString &part : parts) {
        bool ok = false;
        const double value
            = integers ? double(part.trimmed().toInt(&ok)) : part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        values.append(value);
    }
    return values;
}

} // namespace

QString ExportOptions::toolText(const MeasurementTool &tool)
{
    QVector<int> numbers;
    if (tool.kind == MeasurementTool::Spot)
        numbers = { tool.start.x(), tool.start.y() };
    else if (tool.kind == MeasurementTool::Line)
        numbers = { tool.start.x(), tool.start.y(), tool.end.x(), tool.end.y() };
    else
        numbers = { tool.rect.x(), tool.rect.y(), tool.rect.width(), tool.rect.height() };
    QStringList texts;
    for (const int number : qAsConst(numbers))
        texts.append(QString::number(number));
    return QStringLiteral("%1 (--%2 %3)")
        .arg(tool.name, MeasurementTool::kindName(tool.kind), texts.join(QLatin1Char(',')));
}

ExportOptions::Parsed ExportOptions::parse(const QStringList &arguments, QString *text)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Exports the temperatures of the instrument's pictures as CSV, float TIFF, PNG, a PDF "
        "report and JSON lines."));
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") },
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version."));
    const auto valued = [](const char *name, const char *description, const char *value) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                                  QString::fromLatin1(value));
    };
    const QCommandLineOption csv = valued("csv", "One CSV per picture into DIR.", "DIR");
    const QCommandLineOption tiff = valued("tiff", "One float TIFF per picture into DIR.", "DIR");
    const QCommandLineOption png
        = valued("png", "One PNG per picture into DIR, as the picture page draws it.", "DIR");
    const QCommandLineOption report
        = valued("report", "One PDF report of all pictures.", "FILE.pdf");
    const QCommandLineOption title = valued("title", "The report's title.", "TEXT");
    const QCommandLineOption spot = valued("spot", "A spot at cell X,Y (repeatable).", "X,Y");
    const QCommandLineOption box = valued("box", "A box of cells (repeatable).", "X,Y,W,H");
    const QCommandLineOption ellipse
        = valued("ellipse", "An ellipse inscribed in a box of cells (repeatable).", "X,Y,W,H");
    const QCommandLineOption line
        = valued("line", "A line between two cells (repeatable).", "X1,Y1,X2,Y2");
    const QCommandLineOption emissivityOption
        = valued("emissivity", "The emissivity to correct to (0.01 to 1).", "E");
    const QCommandLineOption reflected
        = valued("reflected", "The reflected temperature to correct to, in °C.", "T");
    const QCommandLineOption palette
        = valued("palette", "The palette: iron, rainbow, whitehot, blackhot or contrast.", "NAME");
    const QCommandLineOption range
        = valued("range", "A manual colour range in °C (automatic without).", "LOW,HIGH");
    const QCommandLineOption savedOption(QStringLiteral("saved"),
                                         QStringLiteral("Use each picture's saved analysis."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("One JSON line per picture on standard output."));
    const QCommandLineOption language
        = valued("language", "The language of PNG and report texts: EN or CH.", "EN|CH");
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace existing output files."));
    parser.addOptions({ help, version, csv, tiff, png, report, title, spot, box, ellipse, line,
                        emissivityOption, reflected, palette, range, savedOption, json, language,
                        force });
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("Picture files, or folders searched for the instrument's pictures."),
        QStringLiteral("PATH..."));

    const auto fail = [text](const QString &message) {
        *text = message;
        return Parsed::Error;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        *text = parser.helpText();
        return Parsed::Help;
    }
    if (parser.isSet(version)) {
        *text = QStringLiteral("calorix-export ") + QCoreApplication::applicationVersion();
        return Parsed::Version;
    }

    paths = parser.positionalArguments();
    csvFolder = parser.value(csv);
    tiffFolder = parser.value(tiff);
    pngFolder = parser.value(png);
    reportFile = parser.value(report);
    this->title = parser.value(title);
    saved = parser.isSet(savedOption);
    this->json = parser.isSet(json);
    this->force = parser.isSet(force);

    // The tools in the order given, each kind counted on its own: Sp1, Bx1, Sp2, …
    const QVector<std::pair<const QCommandLineOption *, MeasurementTool::Kind>> kinds = {
        { &spot, MeasurementTool::Spot },
        { &box, MeasurementTool::Box },
        { &ellipse, MeasurementTool::Ellipse },
        { &line, MeasurementTool::Line },
    };
    QHash<QString, int> taken;
    const QStringList names = parser.optionNames();
    for (const QString &name : names) {
        for (const auto &[option, kind] : kinds) {
            if (option->names().constFirst() != name)
                continue;
            const QString value = parser.values(*option).at(taken[name]++);
            const auto given = numbers(value, kind == MeasurementTool::Spot ? 2 : 4, true);
            if (!given)
                return fail(QStringLiteral("--%1 wants %2 whole numbers: '%3'")
                                .arg(name, option->valueName(), value));
            const auto &v = *given;
            const QString toolName = MeasurementTool::namePrefix(kind)
                + QString::number(std::count_if(tools.cbegin(), tools.cend(),
                                                [kind = kind](const MeasurementTool &tool) {
                                                    return tool.kind == kind;
                                                })
                                  + 1);
            const QPoint first { int(v[0]), int(v[1]) };
            if (kind == MeasurementTool::Spot) {
                tools.append(MeasurementTool::spot(toolName, first));
            } else if (kind == MeasurementTool::Line) {
                tools.append(MeasurementTool::line(toolName, first, QPoint(int(v[2]), int(v[3]))));
            } else if (v[2] < 1 || v[3] < 1) {
                return fail(QStringLiteral("--%1 %2: the width and height must be at least 1")
                                .arg(name, value));
            } else {
                const QRect rect(first, QSize(int(v[2]), int(v[3])));
                tools.append(kind == MeasurementTool::Box
                                 ? MeasurementTool::box(toolName, rect)
                                 : MeasurementTool::ellipse(toolName, rect));
            }
        }
    }
    if (tools.size() > PictureAnalysis::MaxTools)
        return fail(QStringLiteral("at most %1 tools a picture").arg(PictureAnalysis::MaxTools));

    if (parser.isSet(emissivityOption)) {
        const auto value = numbers(parser.value(emissivityOption), 1, false);
        if (!value || (*value)[0] < 0.01 || (*value)[0] > 1.0)
            return fail(QStringLiteral("--emissivity must lie between 0.01 and 1: '%1'")
                            .arg(parser.value(emissivityOption)));
        emissivity = (*value)[0];
    }
    if (parser.isSet(reflected)) {
        const auto value = numbers(parser.value(reflected), 1, false);
        if (!value || (*value)[0] < -100.0 || (*value)[0] > 1000.0)
            return fail(QStringLiteral("--reflected must lie between -100 and 1000 °C: '%1'")
                            .arg(parser.value(reflected)));
        reflectedCelsius = (*value)[0];
    }
    if (parser.isSet(palette)) {
        this->palette = parser.value(palette).toLower();
        if (!ThermalPalette::fromName(this->palette))
            return fail(QStringLiteral("unknown palette '%1' (iron, rainbow, whitehot, "
                                       "blackhot, contrast)")
                            .arg(parser.value(palette)));
    }
    if (parser.isSet(range)) {
        const auto value = numbers(parser.value(range), 2, false);
        if (!value || !((*value)[0] < (*value)[1]))
            return fail(QStringLiteral("--range wants LOW,HIGH with LOW below HIGH: '%1'")
                            .arg(parser.value(range)));
        this->range = std::make_pair((*value)[0], (*value)[1]);
    }
    if (parser.isSet(language)) {
        this->language = parser.value(language).toUpper();
        if (this->language != QLatin1String("EN") && this->language != QLatin1String("CH"))
            return fail(QStringLiteral("--language is EN or CH: '%1'").arg(parser.value(language)));
    }
    if (paths.isEmpty())
        return fail(QStringLiteral("no PATH given"));
    if (csvFolder.isEmpty() && tiffFolder.isEmpty() && pngFolder.isEmpty() && reportFile.isEmpty()
        && !this->json)
        return fail(QStringLiteral("nothing to do: give --csv, --tiff, --png, --report or --json"));
    return Parsed::Run;
}
