// iconforge draws the pictures of the resource tree (app/resources) from vector shapes.
//
// Regenerate them after changing a drawing, then look at the contact sheet and commit:
//   cmake --build <build dir> --target regenerate_icons
//   <build dir>/bin/iconforge --sheet /tmp/icons.png app/resources
// or run "iconforge <folder>" to write all 40 PNG pictures and the 4 .ico files into <folder>.
// The build never runs it for those: the drawn files are committed with the sources.
// "iconforge --hicolor <folder>" draws the program's icon for the desktop's icon theme
// (<folder>/<N>x<N>/apps/calorix.png); the build makes those for the install rules.

#include "iconpainter.h"
#include "icowriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QTextStream>

namespace {

const int IcoSizes[] = { 256, 48, 32, 16 };
const int HicolorSizes[] = { 48, 64, 128, 256 };

int writeAll(const QString &folder)
{
    QTextStream err(stderr);
    if (!QDir().mkpath(folder)) {
        err << "iconforge: cannot create " << folder << "\n";
        return 1;
    }
    const QDir dir(folder);
    for (const QString &name : IconPainter::pngNames()) {
        const QImage image = IconPainter::render(name, IconPainter::pngSize(name));
        if (!image.save(dir.filePath(name), "png")) {
            err << "iconforge: cannot write " << name << "\n";
            return 1;
        }
    }
    for (const QString &name : IconPainter::icoNames()) {
        QVector<QImage> images;
        for (int size : IcoSizes)
            images << IconPainter::render(name, size);
        const QByteArray bytes = IcoWriter::encode(images);
        QFile file(dir.filePath(name));
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly)
            || file.write(bytes) != bytes.size()) {
            err << "iconforge: cannot write " << name << "\n";
            return 1;
        }
    }
    return 0;
}

// The window icon's drawing at the sizes of the hicolor theme, laid out as the theme is.
int writeHicolor(const QString &folder)
{
    QTextStream err(stderr);
    for (int size : HicolorSizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QImage image = IconPainter::render(QStringLiteral("calorix.ico"), size);
        if (!QDir().mkpath(apps) || !image.save(apps + QStringLiteral("/calorix.png"), "png")) {
            err << "iconforge: cannot write " << apps << "/calorix.png\n";
            return 1;
        }
    }
    return 0;
}

// Every picture of @p folder at 16, 24 and 32 px on a light and on a dark ground, loaded the
// way the program loads them (through QIcon), so the committed files are what is checked.
int writeSheet(const QString &target, const QString &folder)
{
    QStringList names = QDir(folder).entryList({ "*.png", "*.ico" }, QDir::Files, QDir::Name);
    const int columns = 4;
    const int cellWidth = 260, cellHeight = 44;
    const int rows = (names.size() + columns - 1) / columns;
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int i = 0; i < names.size(); ++i) {
        const QPoint origin((i % columns) * cellWidth, (i / columns) * cellHeight);
        const QIcon icon(QDir(folder).filePath(names[i]));
        p.fillRect(QRect(origin, QSize(86, cellHeight)), QColor(0xf0, 0xf0, 0xf0));
        p.fillRect(QRect(origin + QPoint(86, 0), QSize(86, cellHeight)), QColor(0x29, 0x29, 0x29));
        int x = 4;
        for (int size : { 16, 24, 32 }) {
            p.drawPixmap(origin + QPoint(x, 6), icon.pixmap(size, size));
            p.drawPixmap(origin + QPoint(86 + x, 6), icon.pixmap(size, size));
            x += size + 4;
        }
        p.setPen(Qt::black);
        p.drawText(QRect(origin + QPoint(176, 0), QSize(cellWidth - 176, cellHeight)),
                   Qt::AlignVCenter, names[i]);
    }
    p.end();
    return sheet.save(target) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1)
        return writeAll(args[0]);
    if (args.size() == 3 && args[0] == QLatin1String("--sheet"))
        return writeSheet(args[1], args[2]);
    if (args.size() == 2 && args[0] == QLatin1String("--hicolor"))
        return writeHicolor(args[1]);
    QTextStream(stderr) << "usage: iconforge <folder>\n"
                           "       iconforge --sheet <sheet.png> <folder>\n"
                           "       iconforge --hicolor <folder>\n";
    return 2;
}
