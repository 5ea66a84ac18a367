#include "imagefile.h"
#include "livescope.h"
#include "panelet.h"
#include "picturepage.h"
#include "thermogramcanvas.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using DeviceManager::Mode;

namespace {

/** A derived window that counts the calls of the building steps. */
class CountingPanelet : public Panelet
{
public:
    explicit CountingPanelet(Mode mode)
        : Panelet(mode, QStringLiteral("EN"))
    { }
    void initWidget() override
    {
        ++calls;
        Panelet::initWidget();
    }
    void initConnection() override
    {
        ++calls;
        Panelet::initConnection();
    }
    void initAction() override
    {
        ++calls;
        Panelet::initAction();
    }
    int calls = 0;
};

QImage picture(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    return image;
}

} // namespace

class tst_Panelet : public QObject
{
    Q_OBJECT
private slots:
    void constructorBuildsNothing();
    void pictureIsPageAtIndexOne();
    void closeButtonAsksToClose_data();
    void closeButtonAsksToClose();
    void windowsMenuLeadsToEveryWindow();
    void closeFromTabContextMenu();
    void setFileShowsAndClears();
    void pictureScaledToFit();
};

void tst_Panelet::constructorBuildsNothing()
{
    CountingPanelet panelet(DeviceManager::UsbFile);
    QCOMPARE(panelet.calls, 0);
    QVERIFY(!panelet.tabWidget());
    QCOMPARE(panelet.mode(), DeviceManager::UsbFile);
    QCOMPARE(panelet.language(), QStringLiteral("EN"));

    panelet.initAction();
    panelet.initWidget();
    panelet.initConnection();
    QVERIFY(panelet.tabWidget());
    QCOMPARE(panelet.widget(), panelet.tabWidget());
    QCOMPARE(panelet.tabWidget()->count(), 1);
    QCOMPARE(panelet.tabWidget()->widget(0), panelet.picturePage());
}

void tst_Panelet::pictureIsPageAtIndexOne()
{
    // A derived window puts its own page first; Panelet's picture page then sits at index 1.
    Livescope livescope(DeviceManager::UsbVideo, QStringLiteral("EN"));
    QVERIFY(livescope.tabWidget()->count() >= 2); // its alarm list comes after the picture
    QCOMPARE(livescope.tabWidget()->widget(1), livescope.picturePage());
    QCOMPARE(livescope.tabWidget()->currentIndex(), 0);
}

void tst_Panelet::closeButtonAsksToClose_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::newRow("Wi-Fi files") << DeviceManager::WifiFile;
    QTest::newRow("Wi-Fi video") << DeviceManager::WifiVideo;
    QTest::newRow("USB files") << DeviceManager::UsbFile;
    QTest::newRow("USB video") << DeviceManager::UsbVideo;
}

void tst_Panelet::closeButtonAsksToClose()
{
    QFETCH(Mode, mode);
    CountingPanelet panelet(mode);
    panelet.initAction();
    panelet.initWidget();
    panelet.resize(400, 300);
    panelet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panelet));

    QToolButton *button = panelet.closeButton();
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QVERIFY(panelet.tabWidget()->cornerWidget(Qt::TopRightCorner)->isAncestorOf(button));

    QSignalSpy spy(&panelet, &Panelet::subClose);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Mode>(), mode);
    QVERIFY(panelet.isVisible()); // the receiver decides whether the window goes
}

void tst_Panelet::windowsMenuLeadsToEveryWindow()
{
    QMdiArea area;
    auto *files = new Livescope(DeviceManager::UsbFile, QStringLiteral("EN"));
    auto *live = new Livescope(DeviceManager::UsbVideo, QStringLiteral("EN"));
    files->setWindowTitle(QStringLiteral("USB[File]"));
    live->setWindowTitle(QStringLiteral("USB[Video]"));
    area.addSubWindow(files)->showMaximized();
    area.addSubWindow(live)->showMaximized();
    area.show();
    area.setActiveSubWindow(live);

    // The live window's own tab row, beside its close button, lists both windows.
    QCOMPARE(live->windowsButton()->parentWidget(), live->closeButton()->parentWidget());
    QMenu *menu = live->windowsButton()->menu();
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction *action : menu->actions())
        titles << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
    QCOMPARE(titles, QStringList({ "USB[File]", "USB[Video] *" }));
    menu->actions().first()->trigger();
    QCOMPARE(area.activeSubWindow(), files);
    QVERIFY(live->picturePage()->canvas()->placeholderText().contains("file browser"));
}

void tst_Panelet::closeFromTabContextMenu()
{
    Livescope livescope(DeviceManager::WifiVideo, QStringLiteral("EN"));
    QTabBar *tabBar = livescope.tabWidget()->tabBar();
    QCOMPARE(tabBar->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(tabBar->actions().contains(livescope.closeAction()));
    QSignalSpy spy(&livescope, &Panelet::subClose);
    livescope.closeAction()->trigger();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Mode>(), DeviceManager::WifiVideo);
}

void tst_Panelet::setFileShowsAndClears()
{
    CountingPanelet panelet(DeviceManager::UsbFile);
    panelet.setFile(nullptr); // before the widgets exist: harmless
    panelet.initAction();
    panelet.initWidget();

    ImageFile file;
    file.image = picture(QSize(320, 240));
    file.path = QStringLiteral("/media/STICK/DCIM/100THERM/IR_0007.BMP");
    file.size = 307792;
    panelet.setFile(&file);
    PicturePage *page = panelet.picturePage();
    QCOMPARE(page->picture(), file.image);
    const QList<QLabel *> labels = page->findChildren<QLabel *>();
    const bool named = std::any_of(labels.begin(), labels.end(), [](QLabel *label) {
        return label->text() == QLatin1String("IR_0007.BMP");
    });
    QVERIFY(named);

    panelet.setFile(nullptr);
    QVERIFY(page->picture().isNull());
    for (QLabel *label : labels) {
        QVERIFY(label->text().isEmpty());
        QVERIFY(label->pixmap(Qt::ReturnByValue).isNull());
    }
}

void tst_Panelet::pictureScaledToFit()
{
    CountingPanelet panelet(DeviceManager::UsbFile);
    panelet.initAction();
    panelet.initWidget();
    panelet.resize(500, 700);
    panelet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panelet));

    ImageFile file;
    file.image = picture(QSize(320, 240));
    file.path = QStringLiteral("IR_0001.BMP");
    panelet.setFile(&file);

    const ThermogramCanvas *canvas = panelet.picturePage()->canvas();
    const QRect shown = canvas->pictureRect();
    QVERIFY(canvas->rect().contains(shown));
    QVERIFY(shown.width() > 320); // grown to the width the page offers
    QVERIFY(qAbs(shown.width() * 3 - shown.height() * 4) <= 4); // the picture's 4:3 kept
    // Centred in the room the page gives it.
    QVERIFY(qAbs(shown.left() - (canvas->width() - shown.right() - 1)) <= 1);
    QVERIFY(qAbs(shown.top() - (canvas->height() - shown.bottom() - 1)) <= 1);
}

QTEST_MAIN(tst_Panelet)
#include "tst_panelet.moc"
