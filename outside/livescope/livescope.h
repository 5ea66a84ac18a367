#ifndef LIVESCOPE_H
#define LIVESCOPE_H

#include "livescope_global.h"

#include "optionparam.h"
#include "panelet.h"
#include "videoextendparam.h"

class QLabel;

/** The live-video sub-window of a video mode: frames, their readings and the alarm switches. */
class LIVESCOPE_EXPORT Livescope : public Panelet
{
    Q_OBJECT
public:
    Livescope(DeviceManager::Mode mode, const QString &language, QWidget *parent = nullptr,
              Qt::WindowFlags flags = Qt::WindowFlags());
    ~Livescope() override;

    void initWidget() override;
    void initConnection() override;
    void initAction() override;
    /** One live frame. */
    virtual void setPixmap(const QPixmap &pixmap);

    void setOptionsParam(const OptionParam &param);
    OptionParam optionsParam() const { return m_optionParam; }
    void setVideoExtendParam(const VideoExtendParam &param);
    VideoExtendParam videoExtendParam() const { return m_extendParam; }

signals:
    /** The user changed a switch; carries the whole record. */
    void updateOptionParam(const OptionParam &param);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    OptionParam m_optionParam;
    VideoExtendParam m_extendParam;
    QLabel *m_frameLabel = nullptr;
};

#endif // LIVESCOPE_H
