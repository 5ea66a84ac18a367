#include "thumbnaillabel.h"

#include <QHash>
#include <QPainter>
#include <QPicture>

namespace {

// An empty picture whose bounds a label measures as it measures a pixmap of that size; one per
// size, shared by every label. A picture with nothing recorded would count as null.
QPicture boundsOf(const QSize &size)
{
    static QHash<quint64, QPicture> pictures;
    const quint64 key = (quint64(quint32(size.width())) << 32) | quint32(size.height());
    auto found = pictures.find(key);
    if (found == pictures.end()) {
        QPicture picture;
        QPainter(&picture).end();
        picture.setBoundingRect(QRect(QPoint(0, 0), size));
        found = pictures.insert(key, picture);
    }
    return *found;
}

} // namespace

ThumbnailLabel::ThumbnailLabel(QWidget *parent)
    : QLabel(parent)
{ }

ThumbnailLabel::~ThumbnailLabel() = default;

void ThumbnailLabel::setThumbnail(const CompactImage &image)
{
    m_thumbnail = image;
    m_pixmapKey = 0;
    if (image.isNull()) {
        setPixmap(QPixmap()); // an undecodable picture: an empty label
        return;
    }
    // The label measures by the picture's bounds; it shows the pixmap once shown.
    setPicture(boundsOf(image.size()));
    if (isVisible())
        unfold();
}

QPixmap ThumbnailLabel::shownPixmap() const
{
    if (folded())
        return QPixmap::fromImage(m_thumbnail.toImage());
    return pixmap(Qt::ReturnByValue);
}

QPixmap ThumbnailLabel::shownPixmap(const QLabel *label)
{
    if (const auto *thumbnailLabel = qobject_cast<const ThumbnailLabel *>(label))
        return thumbnailLabel->shownPixmap();
    return label ? label->pixmap(Qt::ReturnByValue) : QPixmap();
}

bool ThumbnailLabel::folded() const
{
    return !m_thumbnail.isNull() && pixmap(Qt::ReturnByValue).isNull()
        && picture(Qt::ReturnByValue).boundingRect() == QRect(QPoint(0, 0), m_thumbnail.size());
}

void ThumbnailLabel::fold()
{
    const QPixmap shown = pixmap(Qt::ReturnByValue);
    if (!m_thumbnail.isNull() && !shown.isNull() && shown.cacheKey() == m_pixmapKey)
        setPicture(boundsOf(m_thumbnail.size()));
}

void ThumbnailLabel::unfold()
{
    if (!folded())
        return;
    const QPixmap pixmap = QPixmap::fromImage(m_thumbnail.toImage());
    setPixmap(pixmap);
    m_pixmapKey = pixmap.cacheKey();
}

void ThumbnailLabel::showEvent(QShowEvent *event)
{
    unfold();
    QLabel::showEvent(event);
}

void ThumbnailLabel::hideEvent(QHideEvent *event)
{
    QLabel::hideEvent(event);
    fold();
}
