#include "reportwriter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr int Resolution = 300; // dots per inch of the layout below
constexpr double BodyPoints = 10.0;

/** Lays out one page of the report on the writer's paintable area. */
class PageLayout
{
public:
    PageLayout(QPainter &painter, const QRect &area)
        : m_painter(painter)
        , m_area(area)
        , m_top(area.top())
    { }

    int remaining() const { return m_area.bottom() - footerHeight() - m_top; }
    int lineHeight() const { return m_painter.fontMetrics().lineSpacing(); }

    void setFont(double points, bool bold = false)
    {
        QFont font(ReportWriter::fontFamily());
        font.setPointSizeF(points);
        font.setBold(bold);
        m_painter.setFont(font);
    }

    void skip(int height) { m_top += height; }

    /** A paragraph across the page (wrapped), at most maxHeight tall. */
    void paragraph(const QString &text, int flags = Qt::AlignLeft, int maxHeight = -1)
    {
        const int limit = maxHeight < 0 ? remaining() : qMin(maxHeight, remaining());
        const QRect rect(m_area.left(), m_top, m_area.width(), qMax(0, limit));
        QRect used;
        m_painter.drawText(rect, flags | Qt::TextWordWrap, text, &used);
        m_top += qMin(used.height(), rect.height());
    }

    /** Rows of cells in columns of the given fractions of the page's width, with lines. */
    void table(const QVector<QStringList> &rows, const QVector<double> &widths, bool heading,
               bool ruled)
    {
        const int padding = lineHeight() / 4;
        for (int r = 0; r < rows.size(); ++r) {
            const int height = lineHeight() + 2 * padding;
            if (height > remaining())
                return;
            QFont font = m_painter.font();
            font.setBold(heading && r == 0);
            m_painter.setFont(font);
            int x = m_area.left();
            for (int c = 0; c < widths.size(); ++c) {
                const int width = int(widths.at(c) * m_area.width());
                const QRect cell(x, m_top, width, height);
                const QString text = c < rows.at(r).size() ? rows.at(r).at(c) : QString();
                m_painter.drawText(
                    cell.adjusted(padding, 0, -padding, 0), Qt::AlignVCenter | Qt::AlignLeft,
                    m_painter.fontMetrics().elidedText(text, Qt::ElideRight, width - 2 * padding));
                if (ruled)
                    m_painter.drawRect(cell);
                x += width;
            }
            m_top += height;
        }
        QFont font = m_painter.font();
        font.setBold(false);
        m_painter.setFont(font);
    }

    /** An image across the page, aspect kept, at most maxHeight tall, centred. */
    void image(const QImage &image, int maxHeight)
    {
        if (image.isNull())
            return;
        QSize size = image.size().scaled(m_area.width(), qMin(maxHeight, remaining()),
                                         Qt::KeepAspectRatio);
        const QRect target(m_area.left() + (m_area.width() - size.width()) / 2, m_top, size.width(),
                           size.height());
        m_painter.drawImage(target, image);
        m_top += size.height();
    }

    void footer(const QString &text)
    {
        setFont(BodyPoints - 1);
        const QRect rect(m_area.left(), m_area.bottom() - footerHeight(), m_area.width(),
                         footerHeight());
        m_painter.drawText(rect, Qt::AlignBottom | Qt::AlignHCenter, text);
    }

private:
    int footerHeight() const { return 2 * m_painter.fontMetrics().lineSpacing(); }

    QPainter &m_painter;
    QRect m_area;
    int m_top;
};

} // namespace

QString ReportWriter::fontFamily()
{
    return QStringLiteral("WenQuanYi Micro Hei");
}

ReportWriter::Result ReportWriter::write(const QString &path, const ReportTitle &title, int count,
                                         const PageSource &pages, const Progress &progress,
                                         QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return Result::Failed;
    }
    bool cancelled = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(Resolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 18, 18, 15), QPageLayout::Millimeter));
        writer.setTitle(title.title.isEmpty() ? tr("Thermography report") : title.title);
        writer.setCreator(QStringLiteral("Calorix"));
        QPainter painter(&writer);
        const QRect area(0, 0, writer.width(), writer.height());
        const int total = count + 1;
        const auto pageText
            = [total](int number) { return tr("Page %1 of %2").arg(number).arg(total); };

        // The title page.
        {
            PageLayout page(painter, area);
            page.skip(area.height() / 5);
            page.setFont(24, true);
            page.paragraph(title.title.isEmpty() ? tr("Thermography report") : title.title,
                           Qt::AlignHCenter);
            page.skip(page.lineHeight() * 2);
            page.setFont(BodyPoints + 2);
            // The fields left blank are left out.
            QVector<QStringList> fields;
            for (const QStringList &field :
                 { QStringList { tr("Customer"), title.customer },
                   QStringList { tr("Place"), title.place },
                   QStringList { tr("Inspector"), title.inspector },
                   QStringList { tr("Date"),
                                 title.date.isValid() ? title.date.toString(Qt::ISODate)
                                                      : QString() },
                   QStringList { tr("Pictures"), QString::number(count) } }) {
                if (!field.at(1).isEmpty())
                    fields.append(field);
            }
            page.table(fields, { 0.3, 0.7 }, false, false);
            page.footer(pageText(1));
        }

        for (int index = 0; index < count; ++index) {
            if (progress && !progress(index)) {
                cancelled = true;
                break;
            }
            const ReportPage content = pages(index);
            writer.newPage();
            PageLayout page(painter, area);
            page.setFont(BodyPoints + 4, true);
            page.paragraph(content.fileName);
            page.skip(page.lineHeight() / 2);
            page.image(content.picture, area.height() * 45 / 100);
            page.skip(page.lineHeight());

            page.setFont(BodyPoints + 1, true);
            page.paragraph(tr("Parameters"));
            page.setFont(BodyPoints);
            QVector<QStringList> parameters;
            for (const auto &parameter : content.parameters)
                parameters.append({ parameter.first, parameter.second });
            page.table(parameters, { 0.35, 0.65 }, false, false);

            if (!content.toolColumns.isEmpty()) {
                page.skip(page.lineHeight() / 2);
                page.setFont(BodyPoints + 1, true);
                page.paragraph(tr("Measurement tools"));
                page.setFont(BodyPoints);
                if (content.toolRows.isEmpty()) {
                    page.paragraph(tr("No tools"));
                } else {
                    QVector<QStringList> rows { content.toolColumns };
                    rows += content.toolRows;
                    const QVector<double> widths(content.toolColumns.size(),
                                                 1.0 / content.toolColumns.size());
                    page.table(rows, widths, true, true);
                }
            }
            if (!content.note.isEmpty()) {
                page.skip(page.lineHeight() / 2);
                page.setFont(BodyPoints + 1, true);
                page.paragraph(tr("Note"));
                page.setFont(BodyPoints);
                page.paragraph(content.note);
            }
            page.footer(pageText(index + 2));
        }
        if (!cancelled && progress)
            cancelled = !progress(count);
    }
    if (cancelled) {
        file.cancelWriting();
        file.commit();
        return Result::Cancelled;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return Result::Failed;
    }
    return Result::Written;
}
