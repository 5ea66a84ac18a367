#include "thumbnailiconengine.h"

#include <QCache>
#include <QCoreApplication>
#include <QPixmap>

#include <atomic>

namespace {

// About five screens of 144 x 108 thumbnails in a maximised window.
constexpr int CacheBytes = 8 * 1024 * 1024;

using ExpandedIcons = QCache<quint64, QIcon>;

ExpandedIcons *expandedIcons(bool create)
{
    static ExpandedIcons *cache = nullptr;
    if (!cache && create) {
        cache = new ExpandedIcons(CacheBytes);
        // The pixmaps go with the application, not after it.
        qAddPostRoutine([] {
            delete cache;
            cache = nullptr;
        });
    }
    return cache;
}

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

QIcon ThumbnailIconEngine::expanded() const
{
    ExpandedIcons *cache = expandedIcons(QCoreApplication::instance() != nullptr);
    if (cache) {
        if (const QIcon *icon = cache->object(m_id))
            return *icon;
    }
    const QIcon icon(QPixmap::fromImage(m_image.toImage()));
    const int cost = m_image.size().width() * m_image.size().height() * 4;
    if (cache)
        cache->insert(m_id, new QIcon(icon), qMax(cost, 1));
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
    return expanded().pixmap(size, mode, state);
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
