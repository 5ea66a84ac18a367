// Where the bytes of one listed picture go: the heap in use (glibc's mallinfo2, the main and
// the threads' arenas, mmapped blocks too) before and after each part of a listing is made,
// as the window makes it, divided by the number of pictures.
//
//   bench_rowbytes CARD [N]    (a card written by makecard; N pictures, 10,000 by default)

#include "compactimage.h"
#include "dossview.h"
#include "findfiles.h"
#include "ledgerview.h"
#include "mosaicview.h"
#include "picturechecks.h"
#include "programtheme.h"
#include "qurlinfo.h"
#include "thumbnailbatch.h"
#include "thumbnaildecoder.h"
#include "thumbnailiconengine.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <malloc.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

int pictures = 0;

// Runs make, lets the event loop settle (unless told not to), and prints the bytes it left in
// use a picture.
void part(const char *what, const std::function<void()> &make, bool settle = true)
{
    if (settle)
        QCoreApplication::processEvents();
    const qint64 before = heapInUse();
    make();
    if (settle)
        QCoreApplication::processEvents();
    const qint64 after = heapInUse();
    std::printf("  %-58s %8.0f B\n", what, double(after - before) / pictures);
}

// Each part of a listed picture made apart, as the window makes it, in the window's views.
void parts(const QList<QUrlInfo *> &records, QList<QUrlInfo *> &copies, Ledgerview *table,
           Mosaicview *grid)
{
    std::vector<CompactImage> gridThumbnails;
    std::vector<QImage> tableThumbnails;
    ThumbnailDecoder decoder;
    for (const QUrlInfo *record : qAsConst(records)) {
        const ThumbnailDecoder::Result result = decoder.decodeFile(record->name());
        gridThumbnails.push_back(CompactImage::fromImage(result.grid));
        tableThumbnails.push_back(result.table);
    }

    part("record (QUrlInfo, as the search makes it)", [&] {
        for (const QUrlInfo *record : qAsConst(records))
            copies.append(new QUrlInfo(*record));
    });

    const int n = pictures;
    part("table: rows and their four items", [&] {
        table->setUpdatesEnabled(false);
        table->setRowCount(n);
        for (int i = 0; i < n; ++i) {
            auto *number = new QTableWidgetItem(QString::number(i + 1));
            number->setTextAlignment(Qt::AlignRight);
            table->setItem(i, 0, number);
            auto *name = new QTableWidgetItem(records.at(i)->name().section('/', -1));
            name->setData(Qt::UserRole + 1, QVariant::fromValue(quintptr(records.at(i))));
            name->setTextAlignment(Qt::AlignCenter);
            table->setItem(i, 2, name);
            auto *date = new QTableWidgetItem(QStringLiteral("12/9/26 2:30 AM"));
            date->setTextAlignment(Qt::AlignCenter);
            table->setItem(i, 3, date);
            auto *size = new QTableWidgetItem(QStringLiteral(" 300.6KB"));
            size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(i, 4, size);
        }
        table->setUpdatesEnabled(true);
    });

    const QPixmap placeholder = QPixmap(QStringLiteral(":/image/picture.png"))
                                    .scaledToHeight(24, Qt::SmoothTransformation);
    std::vector<QLabel *> labels;
    part(
        "table: the label alone (QLabel in the viewport, placeholder)",
        [&] {
            for (int i = 0; i < n; ++i) {
                auto *label = new QLabel(table->viewport());
                label->setAlignment(Qt::AlignCenter);
                label->setPixmap(placeholder);
                labels.push_back(label);
            }
        },
        false);
    part(
        "table: the label as the cell's widget (setCellWidget)",
        [&] {
            for (int i = 0; i < n; ++i)
                table->setCellWidget(i, 1, labels[size_t(i)]);
        },
        false);
    part("table: the labels' polish (the theme's style sheet)",
         [&] { QCoreApplication::processEvents(); });
    // Copies, so that each pixmap's pixels count (a pixmap shares the pixels of its image).
    part("table: the thumbnail as the label's pixmap", [&] {
        for (int i = 0; i < n; ++i)
            labels[size_t(i)]->setPixmap(QPixmap::fromImage(tableThumbnails[size_t(i)].copy()));
    });
    std::shared_ptr<ThumbnailBatch> batch;

    const QIcon gridPlaceholder(
        QPixmap(QStringLiteral(":/image/picture.png"))
            .scaled(144, 192, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    part("grid: the item (text, tips, record, placeholder icon)", [&] {
        grid->setUpdatesEnabled(false);
        for (int i = 0; i < n; ++i) {
            const QString path = records.at(i)->name();
            auto *item = new QListWidgetItem;
            item->setData(Qt::UserRole + 1, QVariant::fromValue(quintptr(records.at(i))));
            item->setIcon(gridPlaceholder);
            item->setText(path.section('/', -1));
            item->setToolTip(path);
            item->setStatusTip(path);
            grid->insertItem(grid->count(), item);
        }
        grid->setUpdatesEnabled(true);
    });
    part("grid: the thumbnail's icon (ThumbnailIconEngine)", [&] {
        for (int i = 0; i < n; ++i)
            grid->item(i)->setIcon(ThumbnailIconEngine::icon(gridThumbnails[size_t(i)]));
    });
    part("worker's batch (snapshot of both views)",
         [&] { batch = ThumbnailBatch::fromViews(grid, table); });

    std::printf("(grid thumbnails held: %lld B a picture)\n", [&] {
        qint64 bytes = 0;
        for (const CompactImage &image : gridThumbnails)
            bytes += image.byteCount();
        return bytes / qMax(1, n);
    }());
    std::fflush(stdout);
    malloc_stats();
    table->setRowCount(0);
    grid->clear();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CARD [N]\n", argv[0]);
        return 2;
    }
    const int wanted = argc > 2 ? std::atoi(argv[2]) : 10000;
    applyProgramTheme();

    QMdiArea area;
    auto *window = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    area.addSubWindow(window)->showMaximized();
    area.resize(1280, 800);
    area.show();
    QCoreApplication::processEvents();
    auto *table = window->findChild<Ledgerview *>();
    auto *grid = window->findChild<Mosaicview *>();

    QFileInfoList found;
    findFiles(QString::fromLocal8Bit(argv[1]), QStringLiteral("bmp"), found);
    QList<QUrlInfo *> records;
    {
        PictureChecks checks;
        checks.add(found);
        records = checks.records().mid(0, wanted);
    }
    pictures = records.size();
    std::printf("%d pictures of %s\n", pictures, argv[1]);
    QList<QUrlInfo *> copies;
    // --listing: only the window's own listing, as the benchmark makes it (for heap profilers).
    if (!app.arguments().contains(QStringLiteral("--listing")))
        parts(records, copies, table, grid);
    else {
        for (const QUrlInfo *record : qAsConst(records))
            copies.append(new QUrlInfo(*record));
    }

    // The real listing, its worker run to the end: how many of its labels got polished.
    table->setRowCount(0);
    grid->clear();
    QCoreApplication::processEvents();
    // The labels go with a deferred delete, which no event loop runs here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int n = pictures;
    const qint64 beforeListing = heapInUse();
    window->setFiles(copies);
    std::printf("the window's listing, before its worker's results: %.0f B a picture\n",
                double(heapInUse() - beforeListing) / n);
    auto *last = qobject_cast<QLabel *>(table->cellWidget(n - 1, 1));
    while (last->pixmap(Qt::ReturnByValue).height() == 24)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int polished = 0;
    for (int i = 0; i < n; ++i)
        polished += table->cellWidget(i, 1)->testAttribute(Qt::WA_WState_Polished);
    std::printf("the window's own listing, its worker done: %.0f B a picture; %d of %d labels "
                "polished\n",
                double(heapInUse() - beforeListing) / n, polished, n);
    delete window;
    qDeleteAll(copies);
    qDeleteAll(records);
    return 0;
}
