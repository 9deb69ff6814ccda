#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starting things outside the program: a file or address with the system's
// default handler (the shell verb "open"), or a program with parameters.
// Core code starts nothing itself; the windows and the command line pass a
// real launcher, tests the recorder.
namespace platform {

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    // A local file path or an address, opened with the default handler.
    // Failures are not reported to the user.
    virtual bool openWithDefaultHandler(const QString& target) = 0;
    // The same, for a caller that tells the user when it fails: `outcome`
    // learns, exactly once, whether the desktop found a program for the
    // target, at once or when the desktop's opener has answered.
    virtual void openWithDefaultHandlerAndReport(const QString& target,
                                                 std::function<void(bool opened)> outcome) {
        outcome(openWithDefaultHandler(target));
    }
    // Runs a program with these arguments, each reaching it as exactly one
    // argument: no shell and no command line built from text comes between.
    // False when it could not be started.
    virtual bool runProgram(const QString& program, const QStringList& arguments) = 0;
};

// The parameter text of a Windows program start (ShellExecute, RunAs) that
// the program's C runtime splits back into exactly these arguments: each one
// in double quotes, a quote inside as \", and the backslashes in front of a
// quote (or of the closing one) doubled. Plain on every platform, so it can
// be tested anywhere.
QString windowsParameterText(const QStringList& arguments);

// Starts a program detached with an argument list. On Windows through the
// shell (ShellExecute, no verb), which also finds browsers registered under
// App Paths and starts shell targets such as Edge's; elsewhere directly.
bool startProgramDetached(const QString& program, const QStringList& arguments);

// Starts programs with QProcess::startDetached; the default handler is the
// desktop's opener (xdg-open, open, or the Windows shell's start). Needs no
// GUI, so the command-line program can use it.
class ProcessShellLauncher final : public ShellLauncher {
public:
    bool openWithDefaultHandler(const QString& target) override;
    bool runProgram(const QString& program, const QStringList& arguments) override;
};

} // namespace platform
