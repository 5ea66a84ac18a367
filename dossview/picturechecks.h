#ifndef PICTURECHECKS_H
#define PICTURECHECKS_H

#include "dossview_global.h"

#include <QFileInfo>
#include <QList>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QUrlInfo;

/**
 * Tells the instrument's pictures among candidate files and makes their records, while the
 * candidates are still being found: a candidate is a picture when it is exactly
 * PictureHeader::FileSize bytes long and its first PictureHeader::HeaderSize bytes are an
 * instrument picture's header. Only those bytes are read; a candidate that has vanished or
 * cannot be read is left out.
 *
 * Each check waits on the file system far longer than it computes, so from ParallelFrom
 * candidates on, other threads check the candidates handed over so far while the caller goes
 * on finding more; records() has the calling thread help with what is left. Every candidate is
 * checked by one thread.
 */
class DOSSVIEW_EXPORT PictureChecks
{
public:
    static constexpr int ParallelFrom = 512;

    PictureChecks();
    ~PictureChecks();
    PictureChecks(const PictureChecks &) = delete;
    PictureChecks &operator=(const PictureChecks &) = delete;

    /** Hands candidates over, in order. Nobody may use their QFileInfo objects meanwhile. */
    void add(const QFileInfoList &candidates);
    /**
     * The records of the pictures among all candidates handed over, in their order, with their
     * owner and group names; the caller owns them. Ends the checks: call it once.
     */
    QList<QUrlInfo *> records();

    /** What a check finds out about one candidate. */
    struct Checked
    {
        QUrlInfo *record = nullptr;
        uint ownerId = uint(-2);
        uint groupId = uint(-2);
    };

private:
    struct Batch
    {
        QFileInfoList candidates;
        std::vector<Checked> checked;
    };

    void startHelpers();
    /**
     * Checks batches until none is left to take; waiting for more, until the checks end, or
     * not.
     */
    void checkBatches(bool wait);
    /** Takes the next batch not taken yet, or null: waits for one unless the checks end. */
    Batch *takeBatch(bool wait);

    std::mutex m_mutex;
    std::condition_variable m_added;
    std::deque<Batch> m_batches; // a deque: taken batches stay where they are as others come
    size_t m_next = 0;
    bool m_ending = false;
    int m_handedOver = 0;
    std::vector<std::thread> m_helpers;
};

/** The records of the pictures among candidates, as PictureChecks makes them. */
DOSSVIEW_EXPORT QList<QUrlInfo *> pictureRecords(const QFileInfoList &candidates);

#endif // PICTURECHECKS_H
