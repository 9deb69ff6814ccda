#pragma once

#include <QList>
#include <QtGlobal>

#include <optional>

class QWidget;

namespace platform {

// The colour chooser of the settings dialog. Colours travel as the settings
// hold them, $00BBGGRR (red in the low byte).
class ColourChooser {
public:
    virtual ~ColourChooser() = default;
    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<quint32> chooseColour(QWidget* parent, quint32 initial) = 0;
};

// Test double: hands out the scripted answers in order (nothing = cancelled)
// and remembers the colours it was opened with.
class ScriptedColourChooser final : public ColourChooser {
public:
    std::optional<quint32> chooseColour(QWidget*, quint32 initial) override {
        initials.append(initial);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<quint32>> answers;
    QList<quint32> initials;
};

} // namespace platform
