#include "picturepage.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

PicturePage::PicturePage(QWidget *parent)
    : QWidget(parent)
    , m_pictureLabel(new QLabel(this))
    , m_nameLabel(new QLabel(this))
{
    m_pictureLabel->setAlignment(Qt::AlignCenter);
    m_pictureLabel->setMinimumSize(1, 1);
    m_pictureLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_nameLabel->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pictureLabel, 1);
    layout->addWidget(m_nameLabel);
}

void PicturePage::setPicture(const QImage &image, const QString &fileName)
{
    m_image = image;
    m_nameLabel->setText(QFileInfo(fileName).fileName());
    m_nameLabel->setToolTip(fileName);
    updateScaledPicture();
}

void PicturePage::clear()
{
    m_image = QImage();
    m_nameLabel->clear();
    m_nameLabel->setToolTip(QString());
    m_pictureLabel->clear();
}

QString PicturePage::fileName() const
{
    return m_nameLabel->toolTip();
}

void PicturePage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateScaledPicture();
}

void PicturePage::updateScaledPicture()
{
    if (m_image.isNull()) {
        m_pictureLabel->clear();
        return;
    }
    const QSize area = m_pictureLabel->size().boundedTo(m_image.size() * 4);
    m_pictureLabel->setPixmap(
        QPixmap::fromImage(m_image.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
