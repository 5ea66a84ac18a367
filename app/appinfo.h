#ifndef APPINFO_H
#define APPINFO_H

#include <QString>

/** The product's display name and version, fixed before main() runs. */
namespace AppInfo {
const QString &displayName();
const QString &version();
} // namespace AppInfo

#endif // APPINFO_H
