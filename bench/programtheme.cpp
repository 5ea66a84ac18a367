#include "programtheme.h"

#include <QApplication>
#include <QFile>

void applyProgramTheme()
{
    QFile theme(QStringLiteral(":/image/black.css"));
    if (!theme.open(QIODevice::ReadOnly))
        return;
    QByteArray css = theme.readAll();
    const int nul = css.indexOf('\0');
    if (nul >= 0)
        css.truncate(nul);
    qApp->setStyleSheet(QString::fromLatin1(css));
}
