// calorix-export: takes the temperatures of the instrument's pictures out as CSV, float TIFF,
// PNG, a PDF report and JSON lines. See packaging/calorix-export.1.

#include "exportoptions.h"
#include "exportrun.h"

#include <QDir>
#include <QGuiApplication>
#include <QTranslator>

#include <cstdio>

namespace {

QtMessageHandler qtHandler = nullptr;

// Standard error carries one line per problem, for scripts. Qt's notice that the session has
// no runtime folder (usual for a tool run from cron or a CI job) is not one: it needs none.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        qtHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    qtHandler = qInstallMessageHandler(messageHandler);
    // It draws pictures and reports but shows no window: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The program's name, not the tool's: the analyses kept by the picture page lie in the
    // program's data folder (--saved reads them there).
    QCoreApplication::setApplicationName(QStringLiteral("calorix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CALORIX_VERSION));

    ExportOptions options;
    QString text;
    switch (options.parse(app.arguments(), &text)) {
    case ExportOptions::Parsed::Help:
    case ExportOptions::Parsed::Version:
        std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
        return 0;
    case ExportOptions::Parsed::Error:
        std::fputs(qPrintable(QStringLiteral("calorix-export: %1\n").arg(text)), stderr);
        return 2;
    case ExportOptions::Parsed::Run:
        break;
    }

    // The catalogue lies beside the program in a build, in its data folder when installed.
    QTranslator translator;
    if (options.language == QLatin1String("CH")) {
        const QString here = QCoreApplication::applicationDirPath();
        for (const QString &folder : { here, here + QStringLiteral("/../share/calorix") }) {
            if (translator.load(QStringLiteral("CH"), folder))
                break;
        }
        QCoreApplication::installTranslator(&translator);
    }
    return ExportRun(options).run();
}
