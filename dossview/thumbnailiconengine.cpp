#include "thumbnailiconengine.h"

#include <QCache>
#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QListView>
#include <QPixmap>

#include <atomic>

namespace {

// About five screens of 144 x 108 thumbnails in a maximised window of 1280 x 800.
constexpr int CacheBytes = 8 * 1024 * 1024;

using ExpandedIcons = QCache<quint64, QIcon>;

// What the followed views show, in entries, and the largest icon expanded so far, in bytes.
struct Shown
{
    QHash<const QObject *, int> entries;
    int iconBytes = 0;

    int cacheBytes() const
    {
        qint64 all = 0;
        for (int n : entries)
            all += n;
        return int(qBound<qint64>(CacheBytes, 2 * all * iconBytes, 1 << 30));
    }
};

Shown &shown()
{
    static Shown s;
    return s;
}

ExpandedIcons *expandedIcons(bool create)
{
    static ExpandedIcons *cache = nullptr;
    if (!cache && create) {
        cache = new ExpandedIcons(shown().cacheBytes());
        // The pixmaps go with the application, not after it.
        qAddPostRoutine([] {
            delete cache;
            cache = nullptr;
        });
    }
    return cache;
}

// Counts the entries a view's viewport shows whenever it changes size.
class ViewFollower : public QObject
{
public:
    explicit ViewFollower(QListView *view)
        : QObject(view)
        , m_view(view)
    {
        view->viewport()->installEventFilter(this);
        count();
    }
    ~ViewFollower() override
    {
        shown().entries.remove(this);
        resize();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            count();
        return QObject::eventFilter(watched, event);
    }

    static void resize()
    {
        if (ExpandedIcons *cache = expandedIcons(false))
            cache->setMaxCost(shown().cacheBytes());
    }

private:
    void count()
    {
        // A cell of the grid, or an icon where there is none; every partly shown cell counts.
        const QSize cell = m_view->gridSize().isValid() ? m_view->gridSize() : m_view->iconSize();
        const QSize area = m_view->viewport()->size();
        int entries = 0;
        if (cell.width() > 0 && cell.height() > 0) {
            entries = (area.width() / cell.width() + 1) * (area.height() / cell.height() + 1);
        }
        shown().entries.insert(this, entries);
        resize();
    }

    QListView *m_view;
};

quint64 nextId()
{
    static std::atomic<quint64> last { 0 };
    return ++last;
}

} // namespace

ThumbnailIconEngine::ThumbnailIconEngine(const CompactImage &image)
    : m_image(image)
    , m_id(nextId())
{ }

ThumbnailIconEngine::~ThumbnailIconEngine()
{
    if (ExpandedIcons *cache = expandedIcons(false))
        cache->remove(m_id);
}

QIcon ThumbnailIconEngine::icon(const CompactImage &image)
{
    if (image.isNull())
        return QIcon();
    return QIcon(new ThumbnailIconEngine(image));
}

int ThumbnailIconEngine::cacheLimit()
{
    return CacheBytes;
}

void ThumbnailIconEngine::followView(QListView *view)
{
    if (view)
        new ViewFollower(view);
}

QIcon ThumbnailIconEngine::expanded() const
{
    ExpandedIcons *cache = expandedIcons(QCoreApplication::instance() != nullptr);
    if (cache) {
        if (const QIcon *icon = cache->object(m_id))
            return *icon;
    }
    const QIcon icon(QPixmap::fromImage(m_image.toImage()));
    const int cost = qMax(m_image.size().width() * m_image.size().height() * 4, 1);
    if (cache) {
        if (cost > shown().iconBytes) {
            shown().iconBytes = cost;
            cache->setMaxCost(shown().cacheBytes());
        }
        cache->insert(m_id, new QIcon(icon), cost);
    }
    return icon;
}

void ThumbnailIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                                QIcon::State state)
{
    // rect already has the icon's actual size, so the alignment changes nothing.
    expanded().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize ThumbnailIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    // One pixmap, whatever the mode and state: its size, made to fit.
    QSize actual = m_image.size();
    if (actual.width() > size.width() || actual.height() > size.height())
        actual.scale(size, Qt::KeepAspectRatio);
    return actual;
}

QPixmap ThumbnailIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    // QIcon::pixmap has multiplied size by the device pixel ratio already. The expanded icon's
    // QIcon::pixmap would multiply it in again: it is asked with high-DPI pixmaps off, so that
    // its engine gets size as it is, as a plain icon's engine does. Its caller sets the ratio.
    const bool highDpi = QCoreApplication::testAttribute(Qt::AA_UseHighDpiPixmaps);
    if (highDpi)
        QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, false);
    const QPixmap pixmap = expanded().pixmap(size, mode, state);
    if (highDpi)
        QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    return pixmap;
}

QList<QSize> ThumbnailIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) const
{
    // The pixmap was added for the normal mode and the off state only.
    if (mode == QIcon::Normal && state == QIcon::Off && !m_image.size().isEmpty())
        return { m_image.size() };
    return {};
}

QString ThumbnailIconEngine::key() const
{
    return QStringLiteral("ThumbnailIconEngine");
}

QIconEngine *ThumbnailIconEngine::clone() const
{
    return new ThumbnailIconEngine(m_image);
}
