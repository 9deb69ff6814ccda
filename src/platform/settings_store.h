#pragma once

#include <QString>

namespace platform {

// The key every caller passes.
inline const QString kTrovexKeyPath = QStringLiteral("Software\\Halvorn\\Trovex-ODT\\");

// The per-user settings store: string values under one key. A value that does
// not exist reads as the empty string; the store is created on first write.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString readValue(const QString& keyPath, const QString& valueName) = 0;
    virtual void writeValue(const QString& keyPath, const QString& valueName,
                            const QString& value) = 0;

    QString read(const QString& valueName) { return readValue(kTrovexKeyPath, valueName); }
    void write(const QString& valueName, const QString& value) {
        writeValue(kTrovexKeyPath, valueName, value);
    }
};

// The real store: the registry key HKCU\Software\Halvorn\Trovex-ODT on Windows,
// $XDG_CONFIG_HOME/Halvorn/Trovex-ODT.conf elsewhere. Opened and closed around
// every single access, as two running instances share it.
class QtSettingsStore final : public SettingsStore {
public:
    QString readValue(const QString& keyPath, const QString& valueName) override;
    void writeValue(const QString& keyPath, const QString& valueName,
                    const QString& value) override;
};

} // namespace platform
