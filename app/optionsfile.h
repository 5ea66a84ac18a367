#ifndef OPTIONSFILE_H
#define OPTIONSFILE_H

#include "optionparam.h"
#include "settingslocation.h"

#include <QByteArray>
#include <QString>
#include <QStringRef>

#include <functional>

class QIODevice;

/**
 * Reading options.xml. Every reader walks the document the same way: a start element other
 * than "options" names the current element at any depth; the first non-whitespace text run
 * under a current name is handed to the reader; end elements clear nothing. A text run holding
 * a lone surrogate (no writer can put it back) is not handed over and clears the name. A
 * malformed document ends the scan at its first error, keeping what was taken before.
 */
namespace OptionsFile {

/**
 * Called for each text run that is looked at. Returns true to keep the current element name
 * (so a further text run before the next start tag is looked at too), false to clear it.
 */
using TextHandler = std::function<bool(const QString &element, const QStringRef &text)>;

/** Where the options live: SettingsLocation::forThisProgram(), unless a test has set another. */
SettingsLocation location();
/** The options.xml the readers open (see SettingsLocation), unless a test has set a file. */
QString readPath();
/** The options.xml the window writes (see SettingsLocation), unless a test has set a file. */
QString writePath();
/** The history folder while the options name no existing one. */
QString defaultHistoryPath();

/** For tests: read and write this file instead; an empty path restores the default. */
void setPathForTesting(const QString &path);
/** For tests: use this location instead of the program's own; null restores it. */
void setLocationForTesting(const SettingsLocation *location);

void scan(QIODevice *device, const TextHandler &handler);
/** Scans the file at filePath; false when it cannot be opened (nothing is reported). */
bool scanFile(const QString &filePath, const TextHandler &handler);

/** The Language value of the given document; empty when there is none. */
QString readLanguage(QIODevice *device);

/**
 * Takes the option values of the document into param. Only the first text run of an element
 * counts; a HistoryFilesPath naming no existing directory and flags without text leave the
 * values param had.
 */
void readOptions(QIODevice *device, OptionParam &param);

/** Hands every Geometry and State blob of the document, decoded from hex, to the callbacks. */
void readGeometryState(QIODevice *device, const std::function<void(const QByteArray &)> &geometry,
                       const std::function<void(const QByteArray &)> &state);

/**
 * False for a State blob that QMainWindow::restoreState must not see. Qt trusts the counts in
 * the blob and loops over them even past its end, so one damaged count of toolbar lines keeps
 * it busy for minutes. The blob is walked as Qt 5 writes it for a window without dock widgets,
 * like the program's, and refused when a count asks for more than its bytes hold.
 */
bool isRestorableState(const QByteArray &state);

/**
 * Writes the whole document: the window's blobs, then the five option values. Lone surrogates
 * in a value cannot be encoded and are left out, so the rest of the document is still written.
 */
bool write(QIODevice *device, const QByteArray &geometry, const QByteArray &state,
           const OptionParam &param);

/**
 * Writes the document to filePath atomically: until the new file is complete the old one
 * stays whole. False when the file cannot be opened or committed.
 */
bool save(const QString &filePath, const QByteArray &geometry, const QByteArray &state,
          const OptionParam &param);

} // namespace OptionsFile

/**
 * The Language value of options.xml (OptionsFile::readPath()), or an empty string when the
 * file cannot be opened.
 */
QString readLanguageOption();

#endif // OPTIONSFILE_H
