#ifndef THUMBNAILICONENGINE_H
#define THUMBNAILICONENGINE_H

#include "dossview_global.h"

#include "compactimage.h"

#include <QIconEngine>

class QListView;

/**
 * The engine of a grid thumbnail's icon: it holds the thumbnail compactly and makes its pixmap
 * only when the icon is painted or asked for one. It answers every question exactly as an icon
 * made from the thumbnail's pixmap with QIcon(QPixmap) does (sizes, pixmaps in every mode and
 * state, painting), because it hands each one to such an icon, which it makes on demand.
 *
 * The icons made last are kept in a cache shared by all thumbnails, so that the entries on
 * screen are expanded once, not on every paint. It holds at least twice what the followed
 * views show together, and never less than cacheLimit(). GUI thread only, as pixmaps are.
 */
class DOSSVIEW_EXPORT ThumbnailIconEngine : public QIconEngine
{
public:
    explicit ThumbnailIconEngine(const CompactImage &image);
    ~ThumbnailIconEngine() override;

    /** An icon of the image; a null icon for a null image, as QIcon(QPixmap()) is. */
    static QIcon icon(const CompactImage &image);
    /** The bytes the cache of expanded icons holds at the least. */
    static int cacheLimit();
    /**
     * Sizes the cache to hold twice the entries view shows, for as long as view lives, added
     * to what the other followed views show. The count follows the viewport's size.
     */
    static void followView(QListView *view);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) const override;
    QString key() const override;
    QIconEngine *clone() const override;

private:
    QIcon expanded() const;

    CompactImage m_image;
    quint64 m_id;
};

#endif // THUMBNAILICONENGINE_H
