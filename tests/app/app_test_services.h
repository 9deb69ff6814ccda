#pragma once

#include "app/app_services.h"

#include "platform/browser_detection.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/colour_chooser.h"
#include "platform/drive_map.h"
#include "platform/folder_chooser.h"
#include "platform/process_probe.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"
#include "platform/tool_launcher.h"
#include "platform/volume_probe.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

// The test double of every seam the windows use, and the one services object
// made of them that every window of a test gets. Modal windows, pauses and
// yields go through the functions below: nothing waits for real.
struct AppTestServices {
    platform::MemorySettingsStore settings;
    platform::RecordingPrompts prompts;
    platform::ScriptedFolderChooser folders;
    platform::FixedVolumeProbe volumes;
    platform::RecordingShellLauncher shell;
    platform::DriveMap drives;
    platform::RecordingToolLauncher toolLauncher;
    platform::MemoryClipboard clipboard;
    platform::ManualClock clock;
    platform::FixedProcessProbe processes;
    platform::ScriptedColourChooser colourChooser;
    platform::FixedBrowserProbe browsers;
    QString programDirectory; // ends in "/"
    // Where the executable lies; the program directory when left empty.
    QString applicationDirectory;
    bool administrator = false;
    int screenWidth = 1280;
    int screenHeight = 1024;
    platform::OsFamily osFamily = platform::currentOsFamily();

    // Answers a modal window in place of the user; default: cancelled.
    std::function<int(QDialog&)> runModal = [](QDialog&) { return int(QDialog::Rejected); };
    // Every pause asked for, in milliseconds; none is waited.
    QList<int> pauses;
    // What a pause and a yield do besides; by default nothing.
    std::function<void()> onPause = [] {};
    std::function<void()> onYield = [] {};

    // The services object, made on first use from the members as they are then.
    app::AppServices& services() {
        if (!services_)
            services_ = std::unique_ptr<app::AppServices>(new app::AppServices{
                settings,
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
                applicationDirectory.isEmpty() ? programDirectory : applicationDirectory,
                administrator,
                screenWidth,
                screenHeight,
                [this](QDialog& window) { return runModal(window); },
                [this](int milliseconds) {
                    pauses.append(milliseconds);
                    onPause();
                },
                [this] { onYield(); },
                osFamily});
        return *services_;
    }

    // The targets handed to the shell, in order.
    QStringList opened() const {
        QStringList targets;
        for (const auto& call : shell.calls)
            targets.append(call.argument);
        return targets;
    }

private:
    std::unique_ptr<app::AppServices> services_;
};
