#include "findfiles.h"

#include <QDir>
#include <QSet>

namespace {

void walk(const QString &root, const QString &lowerSuffix, bool anySuffix, QSet<QString> &entered,
          QFileInfoList &out, const std::function<void()> &directoryRead)
{
    const QString real = QFileInfo(root).canonicalFilePath();
    if (!real.isEmpty()) {
        if (entered.contains(real))
            return;
        entered.insert(real);
    }

    const QFileInfoList entries = QDir(root).entryInfoList();
    for (const QFileInfo &entry : entries) {
        if (entry.isFile()) {
            if (anySuffix || entry.suffix().toLower() == lowerSuffix)
                out.append(entry);
            continue;
        }
        const QString name = entry.fileName();
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        walk(entry.absoluteFilePath(), lowerSuffix, anySuffix, entered, out, directoryRead);
    }
    if (directoryRead)
        directoryRead();
}

} // namespace

void findFiles(const QString &root, const QString &suffix, QFileInfoList &out)
{
    findFiles(root, suffix, out, {});
}

void findFiles(const QString &root, const QString &suffix, QFileInfoList &out,
               const std::function<void()> &directoryRead)
{
    QSet<QString> entered;
    walk(root, suffix.toLower(), suffix.trimmed().isEmpty(), entered, out, directoryRead);
}
