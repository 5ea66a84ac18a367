#include "appinfo.h"

namespace {
const QString s_displayName = QStringLiteral("Calorix");
const QString s_version = QString::fromLatin1("1.35");
} // namespace

const QString &AppInfo::displayName()
{
    return s_displayName;
}

const QString &AppInfo::version()
{
    return s_version;
}
