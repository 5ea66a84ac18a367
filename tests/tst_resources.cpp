#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The compiled-in tree under /image/: what the program, Dossview and the outside windows load.
class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void treeHoldsExactlyTheEntries();
    void entryExists_data();
    void entryExists();
    void namedIconLoads_data();
    void namedIconLoads();
    void windowIconHoldsAllSizes();
    void everyPictureDecodes_data();
    void everyPictureDecodes();
    void themeCarriesItsPalette_data();
    void themeCarriesItsPalette();
    void themeParses_data();
    void themeParses();
    void themeImagesResolveOrAreKnownMissing_data();
    void themeImagesResolveOrAreKnownMissing();
    void blackLeavesPlainWidgetsAlone();
    void pictureComparisonToleratesRoundingOnly_data();
    void pictureComparisonToleratesRoundingOnly();
    void picturesAreWhatIconforgeDraws();
    void desktopIconsAreTheWindowIcon();

private:
    static QStringList entries();
    static QStringList themes() { return { "black", "blue", "blue2", "gray" }; }
    static QByteArray readTheme(const QString &theme);
};

QStringList tst_Resources::entries()
{
    return { "black.css",      "blue.css",       "blue2.css",      "gray.css",
             "app.ico",        "app2.ico",       "calorix.ico",    "vendor.ico",
             "array_down.png", "refresh.png",    "disconnect.png", "options.png",
             "exit3.png",      "list.png",       "table.png",      "picture.png",
             "sdCard3.png",    "arrow-2.png",    "camera.png",     "capture.png",
             "capture2.png",   "capture3.png",   "circle.png",     "connect.png",
             "cursor.png",     "delete2.png",    "deleteAll.png",  "deleteAll3.png",
             "Directory.png",  "Directory2.png", "Directory3.png", "dot.png",
             "eraser.png",     "exit2.png",      "export.png",     "File.png",
             "file.png",       "line.png",       "palette.png",    "rectangle.png",
             "SDCard.png",     "sdCard2.png",    "stop2.png",      "stop3.png",
             "USB.png",        "Video.png",      "video.png",      "Wi-Fi.png" };
}

QByteArray tst_Resources::readTheme(const QString &theme)
{
    QFile file(QStringLiteral(":/image/%1.css").arg(theme));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void tst_Resources::treeHoldsExactlyTheEntries()
{
    QStringList expected = entries();
    QCOMPARE(expected.size(), 48);
    QCOMPARE(expected.filter(QRegularExpression("\\.png$")).size(), 40);
    QCOMPARE(expected.filter(QRegularExpression("\\.ico$")).size(), 4);

    QStringList actual = QDir(":/image").entryList(QDir::Files | QDir::Hidden, QDir::Name);
    expected.sort();
    actual.sort();
    QCOMPARE(actual, expected);
}

void tst_Resources::entryExists_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : entries())
        QTest::newRow(qPrintable(name)) << name;
}

void tst_Resources::entryExists()
{
    QFETCH(QString, name);
    QFile file(":/image/" + name);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
    QVERIFY(file.size() > 0);
}

void tst_Resources::namedIconLoads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    // The window icon is looked up without a slash after the colon.
    const QStringList paths
        = { ":image/calorix.ico",    ":/image/refresh.png", ":/image/disconnect.png",
            ":/image/options.png",   ":/image/exit3.png",   ":/image/list.png",
            ":/image/table.png",     ":/image/picture.png", ":/image/sdCard3.png",
            ":/image/array_down.png" };
    for (const QString &path : paths) {
        for (int size : { 16, 32 })
            QTest::addRow("%s@%d", qPrintable(path), size) << path << size;
    }
}

void tst_Resources::namedIconLoads()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    const QIcon icon(path);
    QVERIFY(!icon.isNull());
    const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() <= size && image.height() <= size);
    // A drawn icon covers a fair part of its square, not a stray pixel.
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 128;
    }
    QVERIFY2(opaque * 10 >= image.width() * image.height(), qPrintable(QString::number(opaque)));
}

void tst_Resources::windowIconHoldsAllSizes()
{
    QImageReader reader(":/image/calorix.ico");
    QCOMPARE(reader.imageCount(), 4);
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes << image.width();
    }
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, QList<int>({ 16, 32, 48, 256 }));
    // Small sizes are the ones a Windows task bar shows, so they must be drawn, not blank.
    const QPixmap small = QIcon(":/image/calorix.ico").pixmap(16, 16);
    QCOMPARE(small.size(), QSize(16, 16));
}

void tst_Resources::everyPictureDecodes_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : entries()) {
        if (!name.endsWith(".css"))
            QTest::newRow(qPrintable(name)) << name;
    }
}

void tst_Resources::everyPictureDecodes()
{
    QFETCH(QString, name);
    QImageReader reader(":/image/" + name);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QVERIFY(image.hasAlphaChannel());
    QVERIFY(image.width() >= 12 && image.width() == image.height());
}

void tst_Resources::themeCarriesItsPalette_data()
{
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<QString>("radius");
    const QStringList common = { "#F0F0F0", "#DC5000", "#C0C0C0", "#808080", "#dddddd" };
    QTest::newRow("black") << "black"
                           << (QStringList { "#4D4D4D", "#292929", "#636363", "#575757" } + common)
                           << "0px";
    QTest::newRow("blue") << "blue"
                          << (QStringList { "#1B89CA", "#1077B5", "#5CACEE", "#4F94CD" } + common)
                          << "5px";
    QTest::newRow("blue2") << "blue2"
                           << (QStringList { "#0F7DBE", "#1582C3", "#50A3F0", "#489CEA" } + common)
                           << "0px";
    QTest::newRow("gray") << "gray"
                          << (QStringList { "#454648", "#7A7A7A", "#B8B8B8", "#D6D6D6" } + common)
                          << "0px";
}

void tst_Resources::themeCarriesItsPalette()
{
    QFETCH(QString, theme);
    QFETCH(QStringList, colours);
    QFETCH(QString, radius);
    const QString css = QString::fromLatin1(readTheme(theme));
    QVERIFY(!css.isEmpty());
    for (const QString &colour : colours)
        QVERIFY2(css.contains(colour, Qt::CaseInsensitive), qPrintable(colour));

    // Measures shared by the four themes.
    const QStringList measures
        = { "min-width: 60px", "min-height: 20px", "padding: 3px 8px", "margin: 1px",
            "padding: 5px",    "min-width: 40px",  "width: 10px",      "height: 8px",
            "width: 2px",      "padding: 3px",     "border: none" };
    for (const QString &measure : measures)
        QVERIFY2(css.contains(measure), qPrintable(measure));
    QVERIFY(css.contains("border-radius: " + radius));
    QVERIFY(css.contains("url(:/image/array_down.png)"));
    // The other themes reuse black's layout: only the palette differs.
    const QStringList blackColours = { "#4D4D4D", "#292929", "#636363", "#575757" };
    if (theme != "black") {
        for (const QString &colour : blackColours)
            QVERIFY2(!css.contains(colour, Qt::CaseInsensitive), qPrintable(colour));
        QCOMPARE(css.count('{'), QString::fromLatin1(readTheme("black")).count('{'));
    }
}

void tst_Resources::themeParses_data()
{
    QTest::addColumn<QString>("theme");
    for (const QString &theme : themes())
        QTest::newRow(qPrintable(theme)) << theme;
}

namespace {
QStringList g_warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << message;
}
} // namespace

void tst_Resources::themeParses()
{
    QFETCH(QString, theme);
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    qApp->setStyleSheet(QString::fromLatin1(readTheme(theme)));
    QPushButton button("Ok");
    button.ensurePolished();
    const QSize hint = button.sizeHint();
    qApp->setStyleSheet(QString());
    qInstallMessageHandler(previous);
    QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join('\n')));
    // The push-button rule took effect: at least 40 px wide and 20 px high plus padding.
    QVERIFY(hint.width() >= 40 && hint.height() >= 20);
}

void tst_Resources::themeImagesResolveOrAreKnownMissing_data()
{
    themeParses_data();
}

void tst_Resources::themeImagesResolveOrAreKnownMissing()
{
    QFETCH(QString, theme);
    // These are named by the sheets but are not part of the tree; Qt draws the sub-controls
    // without an image.
    const QStringList knownMissing
        = { "radio_normal.png",        "radio_selected.png",    "add-line_vertical.png",
            "add-line_horizontal.png", "sub-line_vertical.png", "sub-line_horizontal.png" };
    const QString css = QString::fromLatin1(readTheme(theme));
    QStringList referenced;
    QRegularExpressionMatchIterator it
        = QRegularExpression("url\\((:/image/[^)]+)\\)").globalMatch(css);
    while (it.hasNext()) {
        const QString path = it.next().captured(1);
        const QString name = path.mid(QStringLiteral(":/image/").size());
        referenced << name;
        if (!knownMissing.contains(name))
            QVERIFY2(QFile::exists(path), qPrintable(path));
        else
            QVERIFY2(!QFile::exists(path), qPrintable(path));
    }
    for (const QString &name : knownMissing)
        QVERIFY2(referenced.contains(name), qPrintable(name));
    QVERIFY(referenced.contains("array_down.png"));
}

void tst_Resources::blackLeavesPlainWidgetsAlone()
{
    const QString css = QString::fromLatin1(readTheme("black"));
    // No rule may give plain widgets or the main window a background.
    QRegularExpression rule("([^{}]*)\\{([^}]*)\\}");
    QRegularExpressionMatchIterator it = rule.globalMatch(css);
    int rules = 0;
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        ++rules;
        QString selectors = match.captured(1);
        selectors.remove(
            QRegularExpression("/\\*.*\\*/", QRegularExpression::DotMatchesEverythingOption));
        const QString body = match.captured(2);
        for (QString selector : selectors.split(',')) {
            selector = selector.trimmed();
            if (selector == "QWidget" || selector == "*" || selector.startsWith("QMainWindow")
                || selector == "QDialog")
                QVERIFY2(!body.contains("background"), qPrintable(selector));
        }
        if (selectors.trimmed() == "QMenu")
            QVERIFY(body.contains("background: #F0F0F0"));
    }
    QVERIFY(rules > 40);
}

namespace {

// Qt's antialiasing takes other paths on other processors and rounds an edge pixel a level or
// two apart, so a few pixels may differ by as much. A moved, added or recoloured stroke differs
// by far more, or in far more pixels. Compared premultiplied, as the painter worked: an edge
// pixel of low alpha that is a level apart there can be many levels apart once divided by its
// alpha.
constexpr int PictureTolerance = 2;

/** Whether two pictures are the same drawing; why not in *why. */
bool sameDrawing(const QImage &a, const QImage &b, QString *why)
{
    if (a.isNull() || a.size() != b.size()) {
        *why = QStringLiteral("null or of other sizes");
        return false;
    }
    const QImage left = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int differingPixels = 0;
    int largestStep = 0;
    for (int y = 0; y < left.height(); ++y) {
        const auto *l = reinterpret_cast<const QRgb *>(left.constScanLine(y));
        const auto *r = reinterpret_cast<const QRgb *>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            const int step
                = qMax(qMax(qAbs(qRed(l[x]) - qRed(r[x])), qAbs(qGreen(l[x]) - qGreen(r[x]))),
                       qMax(qAbs(qBlue(l[x]) - qBlue(r[x])), qAbs(qAlpha(l[x]) - qAlpha(r[x]))));
            differingPixels += step > 0;
            largestStep = qMax(largestStep, step);
        }
    }
    const int allowedPixels = qMax(4, left.width() * left.height() / 50);
    *why = QStringLiteral("%1 pixels apart (%2 allowed), by up to %3 levels (%4 allowed)")
               .arg(differingPixels)
               .arg(allowedPixels)
               .arg(largestStep)
               .arg(PictureTolerance);
    return largestStep <= PictureTolerance && differingPixels <= allowedPixels;
}

QImage committedPicture(const QString &name)
{
    return QImage(":/image/" + name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Moves a channel of a pixel by step levels, staying a valid premultiplied colour.
void nudge(QImage &image, int x, int y, int step)
{
    const QRgb pixel = image.pixel(x, y);
    const int alpha = qAlpha(pixel);
    const int blue = qBound(0, qBlue(pixel) + step, alpha);
    image.setPixel(x, y, qRgba(qRed(pixel), qGreen(pixel), blue, alpha));
}

// The edge pixels of a drawing: partly covered, where rounding differs between processors.
QList<QPoint> edgePixels(const QImage &image)
{
    QList<QPoint> edges;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha > 8 && alpha < 247 && qBlue(image.pixel(x, y)) >= 2)
                edges << QPoint(x, y);
        }
    }
    return edges;
}

QString iconforgePath()
{
    return QCoreApplication::applicationDirPath() + "/iconforge";
}

/** Runs the built iconforge with arguments; true when it ran through without an error. */
bool runIconforge(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(iconforgePath(), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace

void tst_Resources::pictureComparisonToleratesRoundingOnly_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("same");
    QTest::newRow("none") << "none" << true;
    QTest::newRow("two edge pixels a level apart") << "two edge pixels by 1" << true;
    QTest::newRow("four edge pixels two levels apart") << "four edge pixels by 2" << true;
    QTest::newRow("one edge pixel three levels apart") << "one edge pixel by 3" << false;
    QTest::newRow("every edge pixel a level apart") << "every edge pixel by 1" << false;
    QTest::newRow("a one-pixel line added") << "line" << false;
    QTest::newRow("shifted by one pixel") << "shift" << false;
    QTest::newRow("recoloured by a level") << "recolour" << false;
}

void tst_Resources::pictureComparisonToleratesRoundingOnly()
{
    QFETCH(QString, change);
    const QImage committed = committedPicture(QStringLiteral("USB.png"));
    QCOMPARE(committed.size(), QSize(32, 32));
    QImage changed = committed;
    const QList<QPoint> edges = edgePixels(committed);
    QVERIFY(edges.size() > 8);
    if (change == "two edge pixels by 1") {
        nudge(changed, edges.first().x(), edges.first().y(), -1);
        nudge(changed, edges.last().x(), edges.last().y(), -1);
    } else if (change == "four edge pixels by 2") {
        for (int i = 0; i < 4; ++i)
            nudge(changed, edges.at(i * 2).x(), edges.at(i * 2).y(), -2);
    } else if (change == "one edge pixel by 3") {
        nudge(changed, edges.first().x(), edges.first().y(), -3);
    } else if (change == "every edge pixel by 1") {
        for (const QPoint &edge : edges)
            nudge(changed, edge.x(), edge.y(), -1);
    } else if (change == "line") {
        for (int x = 0; x < changed.width(); ++x)
            changed.setPixel(x, 0, qRgba(0x25, 0x35, 0x60, 0xff));
    } else if (change == "shift") {
        changed.fill(Qt::transparent);
        QPainter painter(&changed);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(1, 0, committed);
    } else if (change == "recolour") {
        for (int y = 0; y < changed.height(); ++y) {
            for (int x = 0; x < changed.width(); ++x) {
                if (qAlpha(changed.pixel(x, y)) == 255)
                    nudge(changed, x, y, 1);
            }
        }
    }
    QString why;
    QTEST(sameDrawing(committed, changed, &why), "same");
}

void tst_Resources::picturesAreWhatIconforgeDraws()
{
    // The committed pictures must come from the generator, so a changed drawing that was not
    // regenerated (or a picture edited by hand) shows up here.
    if (!QFileInfo::exists(iconforgePath()))
        QSKIP("iconforge is not built");
    QTemporaryDir out;
    QVERIFY(runIconforge({ out.path() }));

    const QStringList drawn = QDir(out.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(drawn.size(), 44);
    for (const QString &name : drawn) {
        QVERIFY2(QFile::exists(":/image/" + name), qPrintable(name));
        QImageReader fresh(out.filePath(name));
        QImageReader committed(":/image/" + name);
        QCOMPARE(committed.imageCount(), fresh.imageCount());
        for (int i = 0; i < qMax(1, fresh.imageCount()); ++i) {
            if (fresh.imageCount() > 1) {
                QVERIFY(fresh.jumpToImage(i));
                QVERIFY(committed.jumpToImage(i));
            }
            QString why;
            const bool same = sameDrawing(fresh.read(), committed.read(), &why);
            QVERIFY2(same, qPrintable(QStringLiteral("%1 #%2: %3").arg(name).arg(i).arg(why)));
        }
    }
}

void tst_Resources::desktopIconsAreTheWindowIcon()
{
    // The menu entry's icon in the hicolor theme is the window icon's drawing; where the window
    // icon holds the same size, the pixels must be the same.
    if (!QFileInfo::exists(iconforgePath()))
        QSKIP("iconforge is not built");
    QTemporaryDir out;
    QVERIFY(runIconforge({ QStringLiteral("--hicolor"), out.path() }));

    QHash<int, QImage> windowIcon;
    QImageReader ico(":/image/calorix.ico");
    for (int i = 0; i < ico.imageCount(); ++i) {
        QVERIFY(ico.jumpToImage(i));
        const QImage frame = ico.read().convertToFormat(QImage::Format_ARGB32);
        windowIcon.insert(frame.width(), frame);
    }
    int compared = 0;
    for (int size : { 48, 64, 128, 256 }) {
        const QString file = out.filePath(QStringLiteral("%1x%1/apps/calorix.png").arg(size));
        const QImage icon = QImage(file).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(icon.size(), QSize(size, size));
        if (windowIcon.contains(size)) {
            QString why;
            const bool same = sameDrawing(icon, windowIcon.value(size), &why);
            QVERIFY2(same, qPrintable(QStringLiteral("%1: %2").arg(file, why)));
            ++compared;
        }
    }
    QCOMPARE(compared, 2);
}

QTEST_MAIN(tst_Resources)
#include "tst_resources.moc"
