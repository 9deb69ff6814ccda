#pragma once

#include "platform/browser_detection.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/colour_chooser.h"
#include "platform/drive_map.h"
#include "platform/folder_chooser.h"
#include "platform/os_family.h"
#include "platform/process_probe.h"
#include "platform/prompts.h"
#include "platform/run_context.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"
#include "platform/tool_launcher.h"
#include "platform/volume_probe.h"

#include <QString>

#include <functional>

class QDialog;

namespace app {

// What the windows need from outside themselves, handed to every window: the
// settings store, the message boxes, the folder browser, the volume check,
// the shell, the clipboard, the clock, the process probe, the colour chooser,
// the installed browsers, the screen's size, how a modal window is shown and
// a pause is waited, and which system the texts describe. The program passes
// the real ones, tests their doubles.
struct AppServices {
    platform::SettingsStore& settings;
    platform::Prompts& prompts;
    platform::FolderChooser& folders;
    platform::VolumeProbe& volumes;
    // Opens documents, result pages and web sites with their default program.
    platform::ShellLauncher& shell;
    platform::DriveMap& drives;
    platform::ToolLauncher& toolLauncher;
    platform::Clipboard& clipboard;
    platform::Clock& clock;
    platform::ProcessProbe& processes;
    platform::ColourChooser& colourChooser;
    platform::BrowserProbe& browsers;
    QString programDirectory; // native, ends in the separator
    // Where the executable lies; the file-list tool is installed beside it.
    QString applicationDirectory;
    bool administrator = false;
    // Size of the primary screen; the default window width never exceeds its
    // width, and windows are centred on it.
    int screenWidth = 1024;
    int screenHeight = 768;
    // Shows a window modally and returns its result (QDialog::Accepted or
    // Rejected). Tests answer in place of the user.
    std::function<int(QDialog&)> runModal;
    // Waits while the windows stay responsive.
    std::function<void(int)> pause;
    // Run on the window's thread at every point where a job of a window may
    // stop, while the job waits. The program passes nothing; tests act there
    // as the user would at that moment.
    std::function<void()> jobCheckpoint;
    // Which system the texts that describe one speak of; tests choose.
    platform::OsFamily osFamily = platform::currentOsFamily();
};

} // namespace app
