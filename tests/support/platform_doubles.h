#pragma once

// The test doubles of the platform seams: each records what the code asked
// of it and answers as the test sets it up.

#include "platform/browser_detection.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/colour_chooser.h"
#include "platform/folder_chooser.h"
#include "platform/process_probe.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"
#include "platform/tool_launcher.h"
#include "platform/volume_probe.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace testsupport {

// The names and the Edge file as the test sets them.
class FixedBrowserProbe final : public platform::BrowserProbe {
public:
    QStringList installedBrowserNames() override { return names; }
    bool edgeProgramExists() override { return edgeProgram; }
    QString browserProgram(platform::BrowserKind kind) override { return programs[int(kind)]; }

    QStringList names;
    bool edgeProgram = false;
    std::array<QString, platform::kBrowserCount> programs;
};

// The processes named here run (any letter case), and the
// sibling edition runs when the flag says so.
class FixedProcessProbe final : public platform::ProcessProbe {
public:
    bool isRunning(const QString& processName) override {
        return running.contains(processName.toLower());
    }
    bool siblingEditionRunning() override { return siblingEdition; }

    QSet<QString> running; // lower case
    bool siblingEdition = false;
};

// Drives listed here pass, all others fail.
class FixedVolumeProbe final : public platform::VolumeProbe {
public:
    bool canBeIndexed(QChar driveLetter) override {
        asked.append(driveLetter);
        return indexable.contains(driveLetter.toUpper());
    }
    QSet<QChar> indexable;
    QList<QChar> asked;
};

// Shows the time the test sets.
class ManualClock final : public platform::Clock {
public:
    qint64 milliseconds() const override { return now; }
    qint64 now = 0;
};

// Keeps every text in order.
class MemoryClipboard final : public platform::Clipboard {
public:
    void setText(const QString& text) override { copied.append(text); }
    QString text() const { return copied.isEmpty() ? QString() : copied.last(); }
    QStringList copied;
};

// Values kept in memory per key path.
class MemorySettingsStore final : public platform::SettingsStore {
public:
    QString readValue(const QString& keyPath, const QString& valueName) override {
        return values_.value(keyPath + valueName);
    }
    void writeValue(const QString& keyPath, const QString& valueName,
                    const QString& value) override {
        values_.insert(keyPath + valueName, value);
    }
    bool contains(const QString& valueName) const {
        return values_.contains(platform::kTrovexKeyPath + valueName);
    }
    qsizetype size() const { return values_.size(); }

private:
    QHash<QString, QString> values_;
};

// Records every box and answers confirmations from a script
// (Yes when the script has run out).
class RecordingPrompts final : public platform::Prompts {
public:
    struct Shown {
        Kind kind;
        QString text;
        QString title;
    };

    QStringList texts() const {
        QStringList all;
        for (const Shown& s : shown)
            all.append(s.text);
        return all;
    }

    QList<Shown> shown;
    QList<bool> answers;

protected:
    bool show(Kind kind, const QString& text, const QString& title) override {
        shown.append({kind, text, title});
        if (kind != Kind::Confirmation)
            return false;
        return answers.isEmpty() ? true : answers.takeFirst();
    }
};

// Records every call and answers from `programsThatStart`
// (a program not listed fails to start) and `defaultHandlerOpens`.
class RecordingShellLauncher final : public platform::ShellLauncher {
public:
    struct Call {
        bool defaultHandler = false;
        QString program;       // empty for the default handler
        QString argument;      // the target, or the program's first argument
        QStringList arguments; // all of the program's arguments
    };

    bool openWithDefaultHandler(const QString& target) override {
        calls.append({true, QString(), target, {}});
        return defaultHandlerOpens;
    }
    bool runProgram(const QString& program, const QStringList& arguments) override {
        calls.append({false, program, arguments.value(0), arguments});
        return programsThatStart.contains(program);
    }

    QList<Call> calls;
    QList<QString> programsThatStart;
    bool defaultHandlerOpens = true;
};

// Records each request; the test sends the notifications.
class RecordingToolLauncher final : public platform::ToolLauncher {
    Q_OBJECT
public:
    using platform::ToolLauncher::ToolLauncher;
    void start(const platform::ToolStartRequest& request) override { requests.append(request); }

    void sendStarted() { Q_EMIT toolStarted(); }
    void sendFinished(int exitCode = 0) { Q_EMIT toolFinished(exitCode, false); }
    void sendFailedToStart(const QString& error) { Q_EMIT toolFailedToStart(error); }

    QList<platform::ToolStartRequest> requests;
};

// Hands out the scripted answers in order (nothing = cancelled)
// and remembers the colours it was opened with.
class ScriptedColourChooser final : public platform::ColourChooser {
public:
    std::optional<quint32> chooseColour(QWidget*, quint32 initial) override {
        initials.append(initial);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<quint32>> answers;
    QList<quint32> initials;
};

// Hands out the scripted answers in order (nothing = cancelled)
// and remembers the titles it was asked with.
class ScriptedFolderChooser final : public platform::FolderChooser {
public:
    std::optional<QString> chooseFolder(QWidget*, const QString& title) override {
        titles.append(title);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<QString>> answers;
    QStringList titles;
};

} // namespace testsupport
