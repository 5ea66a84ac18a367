#include "optionsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

namespace {
QString s_testPath;
} // namespace

QString OptionsFile::path()
{
    if (!s_testPath.isEmpty())
        return s_testPath;
    return QCoreApplication::applicationDirPath() + QLatin1String("/options.xml");
}

void OptionsFile::setPathForTesting(const QString &path)
{
    s_testPath = path;
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
                if (!handler(current, reader.text()))
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

QString readLanguageOption()
{
    QFile file(OptionsFile::path());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return OptionsFile::readLanguage(&file);
}
