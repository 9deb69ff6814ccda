#pragma once

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

} // namespace platform
