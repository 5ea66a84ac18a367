#include "pictureanalysis.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

const QString FormatKey = QStringLiteral("format");
const QString FormatId = QStringLiteral("calorix-analysis");
const QString VersionKey = QStringLiteral("version");
constexpr int Version = 1;

bool onlyKeys(const QJsonObject &object, const QStringList &keys)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!keys.contains(it.key()))
            return false;
    }
    return object.size() == keys.size();
}

bool readNumber(const QJsonObject &object, const QString &key, double minimum, double maximum,
                double *value)
{
    const QJsonValue v = object.value(key);
    if (!v.isDouble())
        return false;
    *value = v.toDouble();
    return std::isfinite(*value) && *value >= minimum && *value <= maximum;
}

bool readInt(const QJsonObject &object, const QString &key, int minimum, int maximum, int *value)
{
    double number = 0.0;
    if (!readNumber(object, key, minimum, maximum, &number) || number != std::floor(number))
        return false;
    *value = int(number);
    return true;
}

QJsonObject toolObject(const MeasurementTool &tool)
{
    QJsonObject object { { QStringLiteral("name"), tool.name },
                         { QStringLiteral("kind"), MeasurementTool::kindName(tool.kind) } };
    switch (tool.kind) {
    case MeasurementTool::Spot:
        object.insert(QStringLiteral("x"), tool.start.x());
        object.insert(QStringLiteral("y"), tool.start.y());
        break;
    case MeasurementTool::Box:
    case MeasurementTool::Ellipse:
        object.insert(QStringLiteral("x"), tool.rect.x());
        object.insert(QStringLiteral("y"), tool.rect.y());
        object.insert(QStringLiteral("width"), tool.rect.width());
        object.insert(QStringLiteral("height"), tool.rect.height());
        break;
    case MeasurementTool::Line:
        object.insert(QStringLiteral("x1"), tool.start.x());
        object.insert(QStringLiteral("y1"), tool.start.y());
        object.insert(QStringLiteral("x2"), tool.end.x());
        object.insert(QStringLiteral("y2"), tool.end.y());
        break;
    }
    return object;
}

std::optional<MeasurementTool> readTool(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const auto kind
        = MeasurementTool::kindFromName(object.value(QStringLiteral("kind")).toString());
    const QString name = object.value(QStringLiteral("name")).toString();
    if (!value.isObject() || !kind)
        return std::nullopt;
    static const QRegularExpression number(QStringLiteral("^[1-9][0-9]?$"));
    if (!name.startsWith(MeasurementTool::namePrefix(*kind))
        || !number.match(name.mid(2)).hasMatch())
        return std::nullopt;
    const int last = PictureAnalysis::MaxCell;
    int a = 0, b = 0, c = 0, d = 0;
    switch (*kind) {
    case MeasurementTool::Spot:
        if (!onlyKeys(object, { "name", "kind", "x", "y" })
            || !readInt(object, QStringLiteral("x"), 0, last, &a)
            || !readInt(object, QStringLiteral("y"), 0, last, &b))
            return std::nullopt;
        return MeasurementTool::spot(name, QPoint(a, b));
    case MeasurementTool::Box:
    case MeasurementTool::Ellipse: {
        if (!onlyKeys(object, { "name", "kind", "x", "y", "width", "height" })
            || !readInt(object, QStringLiteral("x"), 0, last, &a)
            || !readInt(object, QStringLiteral("y"), 0, last, &b)
            || !readInt(object, QStringLiteral("width"), 1, last + 1 - a, &c)
            || !readInt(object, QStringLiteral("height"), 1, last + 1 - b, &d))
            return std::nullopt;
        const QRect rect(a, b, c, d);
        return *kind == MeasurementTool::Box ? MeasurementTool::box(name, rect)
                                             : MeasurementTool::ellipse(name, rect);
    }
    case MeasurementTool::Line:
        if (!onlyKeys(object, { "name", "kind", "x1", "y1", "x2", "y2" })
            || !readInt(object, QStringLiteral("x1"), 0, last, &a)
            || !readInt(object, QStringLiteral("y1"), 0, last, &b)
            || !readInt(object, QStringLiteral("x2"), 0, last, &c)
            || !readInt(object, QStringLiteral("y2"), 0, last, &d))
            return std::nullopt;
        return MeasurementTool::line(name, QPoint(a, b), QPoint(c, d));
    }
    return std::nullopt;
}

const char *const IsothermModes[] = { "off", "above", "within" };

// QJsonDocument keeps the last of two members of the same name without a word (and Qt 5.15
// leaks the first when it is an object or array). A file this program wrote has neither such
// twins nor escapes in its member names, so a document with either is refused before Qt reads
// it.
bool hasTwinMembers(const QByteArray &json)
{
    QVector<QSet<QByteArray>> names; // per open object or array, innermost last
    QVector<bool> inObject;
    for (int i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (c == '{' || c == '[') {
            inObject.append(c == '{');
            names.append(QSet<QByteArray>());
        } else if ((c == '}' || c == ']') && !inObject.isEmpty()) {
            inObject.removeLast();
            names.removeLast();
        } else if (c == '"') {
            int end = i + 1;
            bool escaped = false;
            while (end < json.size() && json.at(end) != '"') {
                if (json.at(end) == '\\') {
                    escaped = true;
                    ++end;
                }
                ++end;
            }
            int next = end + 1;
            while (next < json.size() && QByteArrayLiteral(" \t\r\n").contains(json.at(next)))
                ++next;
            if (next < json.size() && json.at(next) == ':' && !inObject.isEmpty()
                && inObject.last()) {
                const QByteArray name = json.mid(i + 1, end - i - 1);
                if (escaped || names.last().contains(name))
                    return true;
                names.last().insert(name);
            }
            i = end;
        }
    }
    return false;
}

} // namespace

QString PictureAnalysis::nextToolName(MeasurementTool::Kind kind) const
{
    const QString prefix = MeasurementTool::namePrefix(kind);
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        if (std::none_of(tools.cbegin(), tools.cend(),
                         [&name](const MeasurementTool &tool) { return tool.name == name; }))
            return name;
    }
}

QByteArray PictureAnalysis::toJson() const
{
    QJsonArray toolArray;
    for (const MeasurementTool &tool : tools)
        toolArray.append(toolObject(tool));
    QJsonObject rangeObject { { QStringLiteral("mode"),
                                range.automatic ? QStringLiteral("auto")
                                                : QStringLiteral("manual") } };
    if (!range.automatic) {
        rangeObject.insert(QStringLiteral("low"), range.low);
        rangeObject.insert(QStringLiteral("high"), range.high);
    }
    QJsonObject isothermObject { { QStringLiteral("mode"),
                                   QString::fromLatin1(IsothermModes[isotherm.mode]) } };
    if (isotherm.mode != Isotherm::Off)
        isothermObject.insert(QStringLiteral("low"), isotherm.low);
    if (isotherm.mode == Isotherm::Within)
        isothermObject.insert(QStringLiteral("high"), isotherm.high);
    const QJsonValue correctionValue = correction
        ? QJsonValue(QJsonObject { { QStringLiteral("emissivity"), correction->emissivity },
                                   { QStringLiteral("reflected"), correction->reflectedCelsius } })
        : QJsonValue(QJsonValue::Null);
    const QJsonObject root { { FormatKey, FormatId },
                             { VersionKey, Version },
                             { QStringLiteral("palette"), ThermalPalette::name(palette) },
                             { QStringLiteral("range"), rangeObject },
                             { QStringLiteral("isotherm"), isothermObject },
                             { QStringLiteral("correction"), correctionValue },
                             { QStringLiteral("tools"), toolArray } };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<PictureAnalysis> PictureAnalysis::fromJson(const QByteArray &json)
{
    if (json.size() > MaxFileSize || hasTwinMembers(json))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (!onlyKeys(root,
                  { FormatKey, VersionKey, "palette", "range", "isotherm", "correction", "tools" })
        || root.value(FormatKey).toString() != FormatId
        || root.value(VersionKey) != QJsonValue(Version))
        return std::nullopt;

    PictureAnalysis analysis;
    const auto palette = ThermalPalette::fromName(root.value(QStringLiteral("palette")).toString());
    if (!palette)
        return std::nullopt;
    analysis.palette = *palette;

    const QJsonObject range = root.value(QStringLiteral("range")).toObject();
    const QString rangeMode = range.value(QStringLiteral("mode")).toString();
    if (rangeMode == QLatin1String("auto") && onlyKeys(range, { "mode" })) {
        analysis.range = ColourRange();
    } else if (rangeMode == QLatin1String("manual") && onlyKeys(range, { "mode", "low", "high" })
               && readNumber(range, QStringLiteral("low"), MinCelsius, MaxCelsius,
                             &analysis.range.low)
               && readNumber(range, QStringLiteral("high"), MinCelsius, MaxCelsius,
                             &analysis.range.high)
               && analysis.range.low < analysis.range.high) {
        analysis.range.automatic = false;
    } else {
        return std::nullopt;
    }

    const QJsonObject isotherm = root.value(QStringLiteral("isotherm")).toObject();
    const QString isothermMode = isotherm.value(QStringLiteral("mode")).toString();
    Isotherm &iso = analysis.isotherm;
    if (isothermMode == QLatin1String("off") && onlyKeys(isotherm, { "mode" })) {
        iso.mode = Isotherm::Off;
    } else if (isothermMode == QLatin1String("above") && onlyKeys(isotherm, { "mode", "low" })
               && readNumber(isotherm, QStringLiteral("low"), MinCelsius, MaxCelsius, &iso.low)) {
        iso.mode = Isotherm::Above;
    } else if (isothermMode == QLatin1String("within")
               && onlyKeys(isotherm, { "mode", "low", "high" })
               && readNumber(isotherm, QStringLiteral("low"), MinCelsius, MaxCelsius, &iso.low)
               && readNumber(isotherm, QStringLiteral("high"), MinCelsius, MaxCelsius, &iso.high)
               && iso.low <= iso.high) {
        iso.mode = Isotherm::Within;
    } else {
        return std::nullopt;
    }

    const QJsonValue correction = root.value(QStringLiteral("correction"));
    if (!correction.isNull()) {
        const QJsonObject object = correction.toObject();
        Correction c;
        if (!correction.isObject() || !onlyKeys(object, { "emissivity", "reflected" })
            || !readNumber(object, QStringLiteral("emissivity"), 0.01, 1.0, &c.emissivity)
            || !readNumber(object, QStringLiteral("reflected"), RadiometricCorrection::MinCelsius,
                           RadiometricCorrection::MaxCelsius, &c.reflectedCelsius))
            return std::nullopt;
        analysis.correction = c;
    }

    const QJsonValue tools = root.value(QStringLiteral("tools"));
    if (!tools.isArray() || tools.toArray().size() > MaxTools)
        return std::nullopt;
    QSet<QString> names;
    for (const QJsonValue &value : tools.toArray()) {
        const std::optional<MeasurementTool> tool = readTool(value);
        if (!tool || names.contains(tool->name))
            return std::nullopt;
        names.insert(tool->name);
        analysis.tools.append(*tool);
    }
    return analysis;
}

bool PictureAnalysis::operator==(const PictureAnalysis &other) const
{
    return tools == other.tools && palette == other.palette && range == other.range
        && isotherm == other.isotherm && correction == other.correction;
}
