#ifndef PROFILEPLOT_H
#define PROFILEPLOT_H

#include "panelet_global.h"

#include <QVector>
#include <QWidget>

/**
 * The temperatures along a line tool, from its start (left) to its end (right), between the
 * lowest and highest of them; cells without a value leave a gap in the curve.
 */
class PANELET_EXPORT ProfilePlot : public QWidget
{
    Q_OBJECT
public:
    explicit ProfilePlot(QWidget *parent = nullptr);

    void setProfile(const QString &name, const QVector<double> &celsius);
    QVector<double> profile() const { return m_celsius; }
    QString name() const { return m_name; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    QVector<double> m_celsius;
};

#endif // PROFILEPLOT_H
