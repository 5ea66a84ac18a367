#include "picturerecords.h"

#include "ownernamecache.h"
#include "pictureheader.h"
#include "qurlinfo.h"

#include <QThread>

#include <system_error>
#include <thread>
#include <vector>

namespace {

// Below this many candidates, starting threads costs more than it saves.
constexpr int ParallelFrom = 512;
constexpr int MaxThreads = 4;

// The record of one candidate, without owner and group names; only the calling thread may
// use info meanwhile, since QFileInfo fills its status in as it is asked.
QUrlInfo *checkedRecord(const QFileInfo &info)
{
    if (info.size() != PictureHeader::FileSize)
        return nullptr;
    const QString path = info.absoluteFilePath();
    char header[PictureHeader::HeaderSize];
    PictureHeader::FileTimes times;
    const qint64 length = PictureHeader::readHeader(path, header, &times);
    if (!PictureHeader::isInstrumentPicture(header, length))
        return nullptr;
    auto *record
        = new QUrlInfo(path, int(info.permissions()), QString(), QString(), info.size(),
                       QDateTime(), QDateTime(), info.isDir(), info.isFile(), info.isSymLink(),
                       info.isWritable(), info.isReadable(), info.isExecutable());
    if (times.known) {
        record->setLastModifiedMSecs(times.modified);
        record->setLastReadMSecs(times.read);
    } else {
        record->setLastModified(info.lastModified());
        record->setLastRead(info.lastRead());
    }
    return record;
}

} // namespace

QList<QUrlInfo *> pictureRecords(const QFileInfoList &candidates)
{
    const int count = candidates.size();
    std::vector<QUrlInfo *> checked(size_t(count), nullptr);
    const int stride
        = count < ParallelFrom ? 1 : qBound(1, QThread::idealThreadCount(), MaxThreads);
    // Every stride-th candidate from first on: each candidate is touched by one thread only.
    const auto check = [&](int first) {
        for (int i = first; i < count; i += stride)
            checked[size_t(i)] = checkedRecord(candidates.at(i));
    };

    std::vector<std::thread> helpers;
    std::vector<int> ownShares { 0 };
    for (int share = 1; share < stride; ++share) {
        try {
            helpers.emplace_back(check, share);
        } catch (const std::system_error &) {
            ownShares.push_back(share); // no thread to be had: this one does that share too
        }
    }
    for (int share : ownShares)
        check(share);
    for (std::thread &helper : helpers)
        helper.join();

    OwnerNameCache names;
    QList<QUrlInfo *> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        QUrlInfo *record = checked[size_t(i)];
        if (!record)
            continue;
        record->setOwner(names.owner(candidates.at(i)));
        record->setGroup(names.group(candidates.at(i)));
        records.append(record);
    }
    return records;
}
