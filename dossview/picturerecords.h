#ifndef PICTURERECORDS_H
#define PICTURERECORDS_H

#include "dossview_global.h"

#include <QFileInfo>
#include <QList>

class QUrlInfo;

/**
 * The records of the instrument's pictures among candidate files, in the candidates' order:
 * a candidate is a picture when it is exactly PictureHeader::FileSize bytes long and its first
 * PictureHeader::HeaderSize bytes are an instrument picture's header. Only those bytes are
 * read; a candidate that has vanished or cannot be read is left out. The caller owns the
 * records.
 *
 * Many candidates are checked on several threads: each check waits on the file system (the
 * status, three access tests, the header) far longer than it computes.
 */
DOSSVIEW_EXPORT QList<QUrlInfo *> pictureRecords(const QFileInfoList &candidates);

#endif // PICTURERECORDS_H
