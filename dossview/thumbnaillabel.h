#ifndef THUMBNAILLABEL_H
#define THUMBNAILLABEL_H

#include "dossview_global.h"

#include "compactimage.h"

#include <QLabel>

/**
 * The picture label of a table row. It shows its thumbnail as a pixmap while it is shown, as
 * any label does; while hidden (scrolled out of view, or the table not on screen) it holds the
 * thumbnail compactly instead, and an empty picture of the thumbnail's size, so that it
 * measures exactly as it does with the pixmap. Thousands of rows then keep a few hundred bytes
 * each instead of a pixmap.
 *
 * A pixmap, text or picture set on the label by anyone else simply replaces the thumbnail.
 * pixmap() is null while the thumbnail is held compactly: shownPixmap() gives what the label
 * shows when shown. GUI thread only.
 */
class DOSSVIEW_EXPORT ThumbnailLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ThumbnailLabel(QWidget *parent = nullptr);
    ~ThumbnailLabel() override;

    /** Shows image as QLabel::setPixmap(QPixmap::fromImage(image.toImage())) would. */
    void setThumbnail(const CompactImage &image);
    /** The pixmap the label shows when shown: its thumbnail, or the pixmap it was given. */
    QPixmap shownPixmap() const;
    /** As above for any label; a plain QLabel's is its pixmap. */
    static QPixmap shownPixmap(const QLabel *label);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool folded() const;
    void fold();
    void unfold();

    CompactImage m_thumbnail; ///< kept once made, also while the pixmap is shown
    qint64 m_pixmapKey = 0; ///< cache key of the pixmap made from it
};

#endif // THUMBNAILLABEL_H
