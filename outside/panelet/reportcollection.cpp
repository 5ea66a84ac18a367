#include "reportcollection.h"

#include <QSettings>

namespace {

const QString Group = QStringLiteral("report");
const QString Pictures = QStringLiteral("pictures");

} // namespace

ReportCollection::ReportCollection(QSettings &settings)
    : m_settings(settings)
{
    m_settings.beginGroup(Group);
    const int count = m_settings.beginReadArray(Pictures);
    for (int index = 0; index < count; ++index) {
        m_settings.setArrayIndex(index);
        const QString path = m_settings.value(QStringLiteral("path")).toString();
        if (!path.isEmpty() && !contains(path))
            m_entries.append({ path, m_settings.value(QStringLiteral("note")).toString() });
    }
    m_settings.endArray();
    m_title.title = m_settings.value(QStringLiteral("title")).toString();
    m_title.customer = m_settings.value(QStringLiteral("customer")).toString();
    m_title.place = m_settings.value(QStringLiteral("place")).toString();
    m_title.inspector = m_settings.value(QStringLiteral("inspector")).toString();
    m_title.date
        = QDate::fromString(m_settings.value(QStringLiteral("date")).toString(), Qt::ISODate);
    m_settings.endGroup();
}

bool ReportCollection::contains(const QString &path) const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [&](const Entry &entry) { return entry.path == path; });
}

bool ReportCollection::add(const QString &path)
{
    if (path.isEmpty() || contains(path))
        return false;
    m_entries.append({ path, QString() });
    save();
    return true;
}

void ReportCollection::remove(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    m_entries.remove(index);
    save();
}

void ReportCollection::move(int from, int to)
{
    if (from < 0 || to < 0 || from >= m_entries.size() || to >= m_entries.size() || from == to)
        return;
    m_entries.move(from, to);
    save();
}

void ReportCollection::setNote(int index, const QString &note)
{
    if (index < 0 || index >= m_entries.size() || m_entries.at(index).note == note)
        return;
    m_entries[index].note = note;
    save();
}

void ReportCollection::clear()
{
    m_entries.clear();
    save();
}

void ReportCollection::setTitle(const ReportTitle &title)
{
    m_title = title;
    save();
}

void ReportCollection::save()
{
    m_settings.beginGroup(Group);
    m_settings.remove(Pictures);
    m_settings.beginWriteArray(Pictures, m_entries.size());
    for (int index = 0; index < m_entries.size(); ++index) {
        m_settings.setArrayIndex(index);
        m_settings.setValue(QStringLiteral("path"), m_entries.at(index).path);
        m_settings.setValue(QStringLiteral("note"), m_entries.at(index).note);
    }
    m_settings.endArray();
    m_settings.setValue(QStringLiteral("title"), m_title.title);
    m_settings.setValue(QStringLiteral("customer"), m_title.customer);
    m_settings.setValue(QStringLiteral("place"), m_title.place);
    m_settings.setValue(QStringLiteral("inspector"), m_title.inspector);
    m_settings.setValue(QStringLiteral("date"), m_title.date.toString(Qt::ISODate));
    m_settings.endGroup();
    m_settings.sync();
}
