// libFuzzer target: all three readers of options.xml on the same bytes, the way the program
// runs them at start-up, with the blobs applied to a real main window.

#include "optionsfile.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include <cstdint>
#include <cstdlib>

namespace {
QMainWindow *s_window = nullptr;

// Reading twice the same way must give the same: the readers keep no state between runs.
OptionParam readParam(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    OptionParam param;
    param.historyFilesPath = QStringLiteral("/nonexistent-default");
    OptionsFile::readOptions(&buffer, param);
    return param;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Made once and never destroyed: libFuzzer ends the process with exit(), and a static
    // QApplication would be torn down after Qt's own thread storage is gone.
    new QApplication(*argc, *argv);
    s_window = new QMainWindow;
    s_window->addToolBar(QStringLiteral("File"))->setObjectName(QStringLiteral("fileToolBar"));
    s_window->statusBar();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    OptionsFile::readLanguage(&buffer);
    buffer.close();

    const OptionParam param = readParam(bytes);
    if (param.historyFilesPath != QLatin1String("/nonexistent-default")
        && !QDir(param.historyFilesPath).exists())
        std::abort(); // only an existing folder may replace the default

    buffer.open(QIODevice::ReadOnly);
    OptionsFile::readGeometryState(
        &buffer, [](const QByteArray &geometry) { s_window->restoreGeometry(geometry); },
        [](const QByteArray &state) {
            // as MainWindow::loadGeometryState does
            if (OptionsFile::isRestorableState(state))
                s_window->restoreState(state, 0);
        });

    // What the readers took must survive the writer and read back the same.
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    OptionsFile::write(&out, s_window->saveGeometry(), s_window->saveState(0), param);
    out.close();
    const OptionParam again = readParam(written);
    if (again.language != param.language || again.historyFilesPath != param.historyFilesPath
        || again.allowAlarm != param.allowAlarm || again.allowAlarmSound != param.allowAlarmSound
        || again.allowLogGeneration != param.allowLogGeneration)
        std::abort();
    return 0;
}
