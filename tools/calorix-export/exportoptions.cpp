#include "exportoptions.h"

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
        const double value = integers ? double(part.trimmed().toInt(&ok))
                                      : part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        values.append(value);
    }
    return values;
}

} // namespace

bool ToolOption::fitsIn(const QSize &size) const
{
    const QRect plane(QPoint(0, 0), size);
    switch (kind) {
    case Spot:
        return plane.contains(first);
    case Line:
        return plane.contains(first) && plane.contains(second);
    case Box:
    case Ellipse:
        return !box.isEmpty() && plane.contains(box);
    }
    return false;
}

QString ToolOption::text() const
{
    switch (kind) {
    case Spot:
        return QStringLiteral("%1 (--spot %2,%3)").arg(name).arg(first.x()).arg(first.y());
    case Line:
        return QStringLiteral("%1 (--line %2,%3,%4,%5)")
            .arg(name)
            .arg(first.x())
            .arg(first.y())
            .arg(second.x())
            .arg(second.y());
    case Box:
    case Ellipse:
        return QStringLiteral("%1 (--%2 %3,%4,%5,%6)")
            .arg(name, kind == Box ? QStringLiteral("box") : QStringLiteral("ellipse"))
            .arg(box.x())
            .arg(box.y())
            .arg(box.width())
            .arg(box.height());
    }
    return name;
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
    const QCommandLineOption palette = valued(
        "palette", "The palette: iron, rainbow, whitehot, blackhot or contrast.", "NAME");
    const QCommandLineOption range
        = valued("range", "A manual colour range in °C (automatic without).", "LOW,HIGH");
    const QCommandLineOption saved(QStringLiteral("saved"),
                                   QStringLiteral("Use each picture's saved analysis."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("One JSON line per picture on standard output."));
    const QCommandLineOption language
        = valued("language", "The language of PNG and report texts: EN or CH.", "EN|CH");
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Replace existing output files."));
    parser.addOptions({ help, version, csv, tiff, png, report, title, spot, box, ellipse, line,
                        emissivityOption, reflected, palette, range, saved, json, language,
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
        *text = QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion();
        return Parsed::Version;
    }

    paths = parser.positionalArguments();
    csvFolder = parser.value(csv);
    tiffFolder = parser.value(tiff);
    pngFolder = parser.value(png);
    reportFile = parser.value(report);
    this->title = parser.value(title);
    saved = parser.isSet(saved);
    this->json = parser.isSet(json);
    this->force = parser.isSet(force);

    // The tools in the order given, each kind counted on its own: Sp1, Bx1, Sp2, …
    const QVector<std::pair<const QCommandLineOption *, ToolOption::Kind>> kinds = {
        { &spot, ToolOption::Spot },
        { &box, ToolOption::Box },
        { &ellipse, ToolOption::Ellipse },
        { &line, ToolOption::Line },
    };
    QHash<QString, int> taken;
    const QStringList names = parser.optionNames();
    for (const QString &name : names) {
        for (const auto &[option, kind] : kinds) {
            if (option->names().constFirst() != name)
                continue;
            const int index = taken[name]++;
            const QString value = parser.values(*option).at(index);
            const int count = kind == ToolOption::Spot ? 2 : 4;
            const auto given = numbers(value, count, true);
            if (!given)
                return fail(QStringLiteral("--%1 wants %2 whole numbers: '%3'")
                                .arg(name, option->valueName(), value));
            ToolOption tool;
            tool.kind = kind;
            const auto &v = *given;
            if (kind == ToolOption::Spot)
                tool.first = QPoint(int(v[0]), int(v[1]));
            else if (kind == ToolOption::Line) {
                tool.first = QPoint(int(v[0]), int(v[1]));
                tool.second = QPoint(int(v[2]), int(v[3]));
            } else if (v[2] < 1 || v[3] < 1) {
                return fail(QStringLiteral("--%1 %2: the width and height must be at least 1")
                                .arg(name, value));
            } else {
                tool.box = QRect(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
            }
            static const char *const prefixes[] = { "Sp", "Bx", "El", "Li" };
            const int number = int(std::count_if(tools.cbegin(), tools.cend(),
                                                 [kind = kind](const ToolOption &t) {
                                                     return t.kind == kind;
                                                 }))
                + 1;
            tool.name = QLatin1String(prefixes[kind]) + QString::number(number);
            tools.append(tool);
        }
    }
    if (tools.size() > MaxTools)
        return fail(QStringLiteral("at most %1 tools a picture").arg(MaxTools));

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
        if (!QStringList({ "iron", "rainbow", "whitehot", "blackhot", "contrast" })
                 .contains(this->palette))
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
    if (csvFolder.isEmpty() && tiffFolder.isEmpty() && pngFolder.isEmpty()
        && reportFile.isEmpty() && !this->json)
        return fail(QStringLiteral("nothing to do: give --csv, --tiff, --png, --report or --json"));
    return Parsed::Run;
}
