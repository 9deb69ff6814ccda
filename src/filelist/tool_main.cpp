// ErstelleDateiliste: writes the list of every file of one drive for the
// index run, then ends. The main program watches it until it is gone; the
// list file is the only thing it hands over.

#include "database/drive_file_list.h"
#include "filelist/list_writer.h"
#include "filelist/pseudo_file_systems.h"
#include "filelist/tool_options.h"
#include "platform/program_directory.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

#ifdef Q_OS_WIN
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace {

// Set by SIGINT, SIGTERM and SIGHUP; the walk polls it and the list being
// written is then discarded, so the previous list stays.
std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void requestInterrupt(int) {
    interruptRequested.store(true);
}

void installInterruptHandlers() {
    std::signal(SIGINT, requestInterrupt);
    std::signal(SIGTERM, requestInterrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, requestInterrupt);
#endif
}

bool displayAvailable() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

// The arguments without the program's name. They are read before the
// application object exists, which decides between a window and none. On
// Windows argv is in the 8-bit code page, which cannot hold every folder
// name (the program directory is one of the arguments): the wide command
// line is split as the system splits it.
QStringList commandLineArguments(int argc, char* argv[]) {
    QStringList arguments;
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i)
        arguments.append(QString::fromWCharArray(wide[i]));
    LocalFree(wide);
#else
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
#endif
    return arguments;
}

// The small window shown while the list is made. Closing it stops the run.
class ProgressWindow : public QWidget {
public:
    ProgressWindow(QChar driveLetter, const std::atomic<qint64>& filesFound,
                   std::atomic<bool>& stopRequested)
        : filesFound_(filesFound)
        , stopRequested_(stopRequested) {
        setWindowTitle(filelist::toolWindowTitle(driveLetter));
        auto* layout = new QVBoxLayout(this);
        label_ = new QLabel(this);
        label_->setObjectName(QStringLiteral("AnzahlLabel"));
        layout->addWidget(label_);
        resize(380, 70);
        refresh();
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { refresh(); });
        timer->start(200);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        stopRequested_.store(true);
        QWidget::closeEvent(event);
    }

private:
    void refresh() {
        label_->setText(QStringLiteral("Gefundene Dateien: ") +
                        QLocale().toString(filesFound_.load(std::memory_order_relaxed)));
    }

    const std::atomic<qint64>& filesFound_;
    std::atomic<bool>& stopRequested_;
    QLabel* label_ = nullptr;
};

} // namespace

int main(int argc, char* argv[]) {
    const QStringList arguments = commandLineArguments(argc, argv);
    if (arguments.contains(QStringLiteral("--help"))) {
        QTextStream(stdout) << filelist::toolUsageText() << Qt::endl;
        return filelist::ToolSucceeded;
    }
    const filelist::ToolOptionsResult parsed = filelist::parseToolOptions(arguments);
    const bool showWindow = parsed.options && parsed.options->showWindow && displayAvailable();

    std::unique_ptr<QCoreApplication> app;
    if (showWindow)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Trovex-ODT"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (!parsed.options) {
        err << parsed.error << '\n' << filelist::toolUsageText() << Qt::endl;
        return filelist::ToolRefused;
    }
    const filelist::ToolOptions& options = *parsed.options;
    auto fail = [&](const QString& text, int status) {
        err << text << Qt::endl;
        if (showWindow)
            QMessageBox::warning(nullptr, filelist::toolWindowTitle(options.driveLetter), text);
        return status;
    };

    const QString programDirectory = options.programDirectory.isEmpty()
                                         ? QCoreApplication::applicationDirPath()
                                         : QDir(options.programDirectory).absolutePath();
    platform::QtSettingsStore settings;
    platform::DriveMap drives(settings);
    filelist::applyDriveOptions(drives, options.driveOptions);
    const auto driveDirectory = drives.driveDirectory(options.driveLetter);
    if (!driveDirectory) {
        return fail(QStringLiteral("Laufwerk %1: ist keinem Verzeichnis zugeordnet.")
                        .arg(options.driveLetter),
                    filelist::ToolRefused);
    }
    const QString listFile = database::driveFileListPath(programDirectory, options.driveLetter);

    installInterruptHandlers();
    std::atomic<bool> windowClosed{false};
    std::atomic<qint64> filesFound{0};
    filelist::WalkOptions walkOptions;
    walkOptions.threads = options.threads;
    walkOptions.skippedMountPoints = filelist::pseudoMountPoints();
    walkOptions.cancelled = [&] { return interruptRequested.load() || windowClosed.load(); };

    filelist::ListWriteResult result;
    if (showWindow) {
        ProgressWindow window(options.driveLetter, filesFound, windowClosed);
        window.show();
        std::thread worker([&] {
            result = filelist::writeDriveFileList(*driveDirectory, options.driveLetter, listFile,
                                                  walkOptions, &filesFound);
            QMetaObject::invokeMethod(app.get(), &QCoreApplication::quit, Qt::QueuedConnection);
        });
        app->exec();
        worker.join();
        // The window goes only now: its closing tells the main program that
        // the list is complete.
        window.hide();
    } else {
        result = filelist::writeDriveFileList(*driveDirectory, options.driveLetter, listFile,
                                              walkOptions, &filesFound);
    }

    if (result.cancelled) {
        err << "Abgebrochen; die bisherige Liste bleibt erhalten." << Qt::endl;
        return filelist::ToolInterrupted;
    }
    if (!result.ok)
        return fail(result.error, filelist::ToolFailed);
    out << QStringLiteral("%1 Dateien in %2 Verzeichnissen aufgelistet (%3 Verzeichnisse "
                          "übersprungen): %4")
               .arg(result.files)
               .arg(result.directories)
               .arg(result.skippedDirectories)
               .arg(QDir::toNativeSeparators(listFile))
        << Qt::endl;
    return filelist::ToolSucceeded;
}
