// trovex-odt: the desktop program. Creates the windows once, in their fixed
// order, and runs until the main window closes.
#include "app_resources.h"
#include "application_identity.h"
#include "main_window.h"
#include "new_database_dialog.h"
#include "question_window.h"
#include "search_window.h"
#include "searching_notice.h"
#include "settings_dialog.h"

#include "platform/administrator.h"
#include "platform/browser_detection.h"
#include "platform/cleared_window_titles.h"
#include "platform/clock.h"
#include "platform/drive_map.h"
#include "platform/instance_probe.h"
#include "platform/process_probe.h"
#include "platform/program_directory.h"
#include "platform/qt_clipboard.h"
#include "platform/qt_colour_chooser.h"
#include "platform/qt_folder_chooser.h"
#include "platform/qt_prompts.h"
#include "platform/qt_shell_launcher.h"
#include "platform/settings_store.h"
#include "platform/tool_launcher.h"
#include "platform/volume_probe.h"
#include "widgets/window_colours.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

namespace {

// Standard buttons and the folder browser speak German.
void loadGermanQtTranslations(QApplication& app, QTranslator& translator) {
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QStringLiteral("/usr/share/qt6/translations")};
    for (const QString& folder : folders) {
        if (translator.load(QStringLiteral("qtbase_de"), folder)) {
            app.installTranslator(&translator);
            return;
        }
    }
}

// The windows' pauses are the ones whose reason the user sees (a caption
// that must paint, a flashed "-"); the windows handle events meanwhile.
void pauseKeepingWindowsLive(int milliseconds) {
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app::initAppResources();
    // The probe must not find this process's own windows: it runs before any
    // window exists and under a passing title.
    QApplication::setApplicationName(QStringLiteral("Trovex-Start"));
    platform::probeOtherInstance(QApplication::arguments());
    app::nameTheApplication();
    platform::showClearedWindowTitles(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/trovex/trovex-odt.xpm")));
    // Disabled buttons and fields keep a caption that can still be read.
    QApplication::setPalette(widgets::withReadableDisabledText(QApplication::palette()));
    QTranslator translator;
    loadGermanQtTranslations(app, translator);

    const QString programDirectory = platform::decideProgramDirectory(
        QApplication::arguments(), QApplication::applicationDirPath(), QDir::currentPath());

    platform::QtSettingsStore settings;
    platform::DriveMap drives(settings);
    platform::QtPrompts prompts;
    platform::QtFolderChooser folders;
    platform::LocalVolumeProbe volumes(drives);
    platform::QtShellLauncher shell;
    platform::ProcessToolLauncher toolLauncher;
    platform::QtClipboard clipboard;
    platform::SteadyClock clock;
    platform::SystemProcessProbe processes;
    platform::QtColourChooser colourChooser;
    platform::SystemBrowserProbe browsers;
    const QScreen* screen = QGuiApplication::primaryScreen();

    app::AppServices services{settings,
                              prompts,
                              folders,
                              volumes,
                              shell,
                              drives,
                              toolLauncher,
                              clipboard,
                              clock,
                              processes,
                              colourChooser,
                              browsers,
                              programDirectory,
                              QApplication::applicationDirPath(),
                              platform::processHasAdministratorRights(),
                              screen ? screen->geometry().width() : 1024,
                              screen ? screen->geometry().height() : 768,
                              [](QDialog& dialog) { return dialog.exec(); },
                              pauseKeepingWindowsLive,
                              {},
                              platform::currentOsFamily()};

    app::MainWindow mainWindow(services);
    prompts.setParent(&mainWindow);
    app::NewDatabaseDialog newDatabaseDialog(services, &mainWindow);
    app::SettingsDialog settingsDialog(services, &mainWindow);
    app::QuestionWindow questionWindow(&mainWindow);
    app::SearchWindow searchWindow(services, mainWindow, &mainWindow);
    app::SearchingNotice searchingNotice(&mainWindow);
    searchWindow.setSearchingNoticeWindow(&searchingNotice);
    mainWindow.setWindows({&newDatabaseDialog, &settingsDialog, &questionWindow, &searchWindow});

    platform::CloseRequestFilter closeRequests([&] { mainWindow.close(); });
    app.installNativeEventFilter(&closeRequests);

    mainWindow.show();
    return app.exec();
}
