#pragma once

#include "colour_chooser.h"

namespace platform {

// The platform's colour chooser (QColorDialog).
class QtColourChooser final : public ColourChooser {
public:
    std::optional<quint32> chooseColour(QWidget* parent, quint32 initial) override;
};

} // namespace platform
