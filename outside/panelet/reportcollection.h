#ifndef REPORTCOLLECTION_H
#define REPORTCOLLECTION_H

#include "panelet_global.h"

#include "reportwriter.h"

#include <QString>
#include <QVector>

class QSettings;

/**
 * The pictures collected for a report, in their order, each with its note, and the title
 * page's fields. Kept in the user's settings, so that they survive a restart: every change is
 * written at once.
 */
class PANELET_EXPORT ReportCollection
{
public:
    struct Entry
    {
        QString path;
        QString note;
        bool operator==(const Entry &other) const
        {
            return path == other.path && note == other.note;
        }
    };

    /** Reads the collection from settings, which must outlive it. */
    explicit ReportCollection(QSettings &settings);

    const QVector<Entry> &entries() const { return m_entries; }
    int size() const { return m_entries.size(); }
    bool contains(const QString &path) const;

    /** Adds a picture at the end; false when it is in the collection already. */
    bool add(const QString &path);
    void remove(int index);
    /** Moves the entry at from to index to; out-of-range indexes do nothing. */
    void move(int from, int to);
    void setNote(int index, const QString &note);
    void clear();

    ReportTitle title() const { return m_title; }
    void setTitle(const ReportTitle &title);

private:
    void save();

    QSettings &m_settings;
    QVector<Entry> m_entries;
    ReportTitle m_title;
};

#endif // REPORTCOLLECTION_H
