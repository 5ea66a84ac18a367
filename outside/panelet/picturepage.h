#ifndef PICTUREPAGE_H
#define PICTUREPAGE_H

#include "panelet_global.h"

#include <QImage>
#include <QWidget>

class QLabel;

/** Shows one picture scaled to fit, with its file name underneath. */
class PANELET_EXPORT PicturePage : public QWidget
{
    Q_OBJECT
public:
    explicit PicturePage(QWidget *parent = nullptr);

    void setPicture(const QImage &image, const QString &fileName);
    void clear();

    QImage picture() const { return m_image; }
    QString fileName() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateScaledPicture();

    QImage m_image;
    QLabel *m_pictureLabel = nullptr;
    QLabel *m_nameLabel = nullptr;
};

#endif // PICTUREPAGE_H
