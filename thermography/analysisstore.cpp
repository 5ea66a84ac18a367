#include "analysisstore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

Q_LOGGING_CATEGORY(lcAnalysis, "calorix.analysis")

bool isKey(const QString &key)
{
    if (key.size() != 64)
        return false;
    return std::all_of(key.cbegin(), key.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

} // namespace

AnalysisStore::AnalysisStore(const QString &folder)
    : m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                       + QStringLiteral("/analyses")
                                : folder)
{ }

QString AnalysisStore::keyFor(const QByteArray &pictureBytes)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(pictureBytes, QCryptographicHash::Sha256).toHex());
}

QString AnalysisStore::keyForFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QString AnalysisStore::pathFor(const QString &key) const
{
    return m_folder + QLatin1Char('/') + key + QStringLiteral(".json");
}

AnalysisStore::Status AnalysisStore::load(const QString &key, PictureAnalysis *analysis) const
{
    if (!isKey(key))
        return Missing;
    QFile file(pathFor(key));
    if (!file.exists())
        return Missing;
    if (file.open(QIODevice::ReadOnly)) {
        const std::optional<PictureAnalysis> read
            = PictureAnalysis::fromJson(file.read(PictureAnalysis::MaxFileSize + 1));
        if (read) {
            *analysis = *read;
            return Loaded;
        }
    }
    qCWarning(lcAnalysis).noquote() << "Ignoring the damaged analysis file" << file.fileName();
    return Damaged;
}

bool AnalysisStore::save(const QString &key, const PictureAnalysis &analysis) const
{
    if (!isKey(key))
        return false;
    const QString path = pathFor(key);
    if (analysis.isDefault())
        return !QFile::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(m_folder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(analysis.toJson());
    return file.commit();
}
