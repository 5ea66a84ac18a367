#include "optionsfile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringView>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>

namespace {
QString s_testPath;
std::optional<SettingsLocation> s_testLocation;

bool isUnpairedSurrogate(const QChar *begin, const QChar *end, const QChar *at)
{
    if (at->isHighSurrogate())
        return at + 1 == end || !at[1].isLowSurrogate();
    if (at->isLowSurrogate())
        return at == begin || !at[-1].isHighSurrogate();
    return false;
}

// QXmlStreamWriter cannot encode a lone surrogate: it then writes elements without names and
// fails the whole document. Such code units are left out, so the rest is still saved.
QString encodable(const QString &text)
{
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    QString kept;
    for (const QChar *at = begin; at != end; ++at) {
        if (!isUnpairedSurrogate(begin, end, at))
            kept += *at;
    }
    return kept.size() == text.size() ? text : kept;
}

// A reader turns a carriage return written as such into a line feed, so it is written as a
// character reference, which reads back as itself.
void writeValueElement(QXmlStreamWriter &writer, const QString &name, const QString &value)
{
    const QString text = encodable(value);
    writer.writeStartElement(name);
    const QVector<QStringRef> lines = text.splitRef(QLatin1Char('\r'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            writer.writeEntityReference(QStringLiteral("#13"));
        writer.writeCharacters(lines.at(i).toString());
    }
    writer.writeEndElement();
}
} // namespace

SettingsLocation OptionsFile::location()
{
    return s_testLocation ? *s_testLocation : SettingsLocation::forThisProgram();
}

QString OptionsFile::readPath()
{
    return s_testPath.isEmpty() ? location().optionsFileToRead() : s_testPath;
}

QString OptionsFile::writePath()
{
    return s_testPath.isEmpty() ? location().optionsFileToWrite() : s_testPath;
}

QString OptionsFile::defaultHistoryPath()
{
    return location().defaultHistoryFolder();
}

void OptionsFile::setPathForTesting(const QString &path)
{
    s_testPath = path;
}

void OptionsFile::setLocationForTesting(const SettingsLocation *location)
{
    if (location)
        s_testLocation = *location;
    else
        s_testLocation.reset();
}

void OptionsFile::scan(QIODevice *device, const TextHandler &handler)
{
    QXmlStreamReader reader(device);
    QString current;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (reader.name() != QLatin1String("options"))
                current = reader.name().toString();
            break;
        case QXmlStreamReader::Characters:
            if (!current.isEmpty() && !reader.isWhitespace()) {
                // A document in an odd encoding (UTF-7, say) can decode to lone surrogates,
                // which no writer can put back: such a text counts as no value.
                if (!QStringView(reader.text()).isValidUtf16() || !handler(current, reader.text()))
                    current.clear();
            }
            break;
        default:
            break;
        }
    }
}

bool OptionsFile::scanFile(const QString &filePath, const TextHandler &handler)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    scan(&file, handler);
    file.close();
    return true;
}

QString OptionsFile::readLanguage(QIODevice *device)
{
    QString language;
    scan(device, [&language](const QString &element, const QStringRef &text) {
        if (element != QLatin1String("Language"))
            return false;
        // Unlike the window's readers, the name stays current after a Language text.
        language = text.toString();
        return true;
    });
    return language;
}

void OptionsFile::readOptions(QIODevice *device, OptionParam &param)
{
    scan(device, [&param](const QString &element, const QStringRef &text) {
        if (element == QLatin1String("Language")) {
            param.language = text.toString();
        } else if (element == QLatin1String("HistoryFilesPath")) {
            const QString path = text.toString();
            if (QDir(path).exists())
                param.historyFilesPath = path;
        } else if (element == QLatin1String("AllowAlarm")) {
            param.allowAlarm = text.toInt(nullptr, 10) != 0;
        } else if (element == QLatin1String("AllowAlarmSound")) {
            param.allowAlarmSound = text.toInt(nullptr, 10) != 0;
        } else if (element == QLatin1String("AllowLogGeneration")) {
            param.allowLogGeneration = text.toInt(nullptr, 10) != 0;
        }
        return false;
    });
}

void OptionsFile::readGeometryState(QIODevice *device,
                                    const std::function<void(const QByteArray &)> &geometry,
                                    const std::function<void(const QByteArray &)> &state)
{
    scan(device, [&](const QString &element, const QStringRef &text) {
        if (element == QLatin1String("Geometry"))
            geometry(QByteArray::fromHex(text.toLatin1()));
        else if (element == QLatin1String("State"))
            state(QByteArray::fromHex(text.toLatin1()));
        return false;
    });
}

bool OptionsFile::isRestorableState(const QByteArray &state)
{
    // Markers and record sizes of QMainWindow::saveState in Qt 5.
    constexpr quint32 VersionMarker = 0xff;
    constexpr uchar DockWidgetStateMarker = 0xfd;
    constexpr uchar ToolBarStateMarkerEx = 0xfc;
    constexpr qint64 LineHeadSize = 8; // area, number of toolbars
    constexpr qint64 ToolBarSize = 4 + 1 + 4 + 4 + 4 + 4; // name length, flags, pos, size, rect

    QDataStream stream(state);
    const auto left = [&stream] { return stream.device()->bytesAvailable(); };
    quint32 marker = 0;
    int version = -1;
    stream >> marker >> version;
    if (stream.status() != QDataStream::Ok || marker != VersionMarker || version != 0)
        return false;
    while (!stream.atEnd()) {
        uchar section = 0;
        int count = -1;
        stream >> section >> count;
        if (stream.status() != QDataStream::Ok)
            return false;
        if (section == DockWidgetStateMarker) {
            // Without dock widgets: the central size and the four corners follow.
            if (count != 0 || stream.skipRawData(6 * 4) != 6 * 4)
                return false;
        } else if (section == ToolBarStateMarkerEx) {
            if (count < 0 || count * LineHeadSize > left())
                return false;
            for (int line = 0; line < count; ++line) {
                int area = -1;
                int toolBars = -1;
                stream >> area >> toolBars;
                if (stream.status() != QDataStream::Ok || area < 0 || area > 3 || toolBars < 0
                    || toolBars * ToolBarSize > left())
                    return false;
                for (int toolBar = 0; toolBar < toolBars; ++toolBar) {
                    quint32 nameBytes = 0;
                    stream >> nameBytes;
                    if (nameBytes == 0xffffffff)
                        nameBytes = 0;
                    if (stream.status() != QDataStream::Ok || nameBytes > quint64(left())
                        || stream.skipRawData(int(nameBytes)) != int(nameBytes)
                        || stream.skipRawData(ToolBarSize - 4) != ToolBarSize - 4)
                        return false;
                }
            }
        } else {
            return false;
        }
    }
    return stream.status() == QDataStream::Ok;
}

bool OptionsFile::write(QIODevice *device, const QByteArray &geometry, const QByteArray &state,
                        const OptionParam &param)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    QXmlStreamWriter writer(device);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("options"));
    writer.writeTextElement(QStringLiteral("Geometry"), QString::fromLatin1(geometry.toHex()));
    writer.writeTextElement(QStringLiteral("State"), QString::fromLatin1(state.toHex()));
    writeValueElement(writer, QStringLiteral("Language"), param.language);
    writeValueElement(writer, QStringLiteral("HistoryFilesPath"), param.historyFilesPath);
    writer.writeTextElement(QStringLiteral("AllowAlarm"), flag(param.allowAlarm));
    writer.writeTextElement(QStringLiteral("AllowAlarmSound"), flag(param.allowAlarmSound));
    writer.writeTextElement(QStringLiteral("AllowLogGeneration"), flag(param.allowLogGeneration));
    writer.writeEndElement();
    writer.writeEndDocument();
    return !writer.hasError();
}

bool OptionsFile::save(const QString &filePath, const QByteArray &geometry, const QByteArray &state,
                       const OptionParam &param)
{
    // Written beside the old file and renamed over it only once complete, so a crash or a
    // full disk never leaves a half-written options.xml behind.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!write(&file, geometry, state, param)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString readLanguageOption()
{
    QFile file(OptionsFile::readPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return OptionsFile::readLanguage(&file);
}
