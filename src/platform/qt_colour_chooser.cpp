#include "qt_colour_chooser.h"

#include <QColorDialog>

namespace platform {

std::optional<quint32> QtColourChooser::chooseColour(QWidget* parent, quint32 initial) {
    // A system colour has no fixed value to start from; the chooser opens
    // on black then.
    const QColor start =
        (initial & 0xFF000000u) != 0
            ? QColor(Qt::black)
            : QColor(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return quint32(chosen.red()) | quint32(chosen.green()) << 8 | quint32(chosen.blue()) << 16;
}

} // namespace platform
