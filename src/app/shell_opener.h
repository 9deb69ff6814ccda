#pragma once

#include <QString>
#include <QStringList>

// Opening a file with the program the desktop associates with it (the help
// document). Behind a seam so that tests see the request without a viewer
// starting.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // The result is not examined by the callers: a missing document simply
    // opens nothing.
    virtual void open(const QString& nativePath) = 0;
};

class DesktopShellOpener final : public ShellOpener {
public:
    void open(const QString& nativePath) override;
};

class RecordingShellOpener final : public ShellOpener {
public:
    void open(const QString& nativePath) override { opened.append(nativePath); }
    QStringList opened;
};
