#ifndef DIPLAYTHUMBNAILTHREAD_H
#define DIPLAYTHUMBNAILTHREAD_H

#include "dossview_global.h"

#include <QThread>

#include <atomic>
#include <memory>

class Dossview;
class QLabel;
class ThumbnailBatch;

/**
 * The thumbnail worker of one listing of a Dossview. It walks the grid entries and the table
 * rows in lock-step, decodes each picture (once for both sizes), publishes the thumbnails in
 * its batch and signals each entry, a few pictures' entries at a time and in lock-step order:
 * refreshLister1(i) for every grid entry, addLabel(j, label) for every table row whose picture
 * file exists. It never touches a widget, an item or a
 * pixmap; the window puts the thumbnails in place when the signals arrive.
 *
 * It stays at most a few dozen signalled entries ahead of the entries the window has taken, so
 * it finishes only while the GUI thread runs its event loop. Set owner and the batch before
 * start(). Raise stopRequested to make it leave after the entry in progress (it then stops
 * waiting for the window too); the flag is never cleared.
 */
class DOSSVIEW_EXPORT DiplayThumbnailThread : public QThread
{
    Q_OBJECT
public:
    explicit DiplayThumbnailThread(QObject *parent = nullptr);
    ~DiplayThumbnailThread() override;

    /** Hands over the snapshot to work from; before start() only. */
    void setBatch(std::shared_ptr<ThumbnailBatch> batch);

    /**
     * For a worker that did not stop within the owner's wait, on the GUI thread: it is never
     * deleted while running, but deletes itself once finished. If the event loop has ended by
     * then, it is deleted when the application goes; one still running then is left to the
     * end of the process.
     */
    void letGo();

    Dossview *owner = nullptr;
    std::atomic<bool> stopRequested { false };

signals:
    void addLabel(int row, QLabel *label);
    void refreshLister1(int row);

protected:
    void run() override;

private:
    void work();

    std::shared_ptr<ThumbnailBatch> m_batch;
    std::atomic<bool> m_ranToEnd { false };
};

#endif // DIPLAYTHUMBNAILTHREAD_H
