#include "window_colours.h"

#include "platform/colour_text.h"
#include "platform/settings_values.h"

#include <QWidget>

namespace widgets {
namespace {

constexpr quint32 kHighlightValue = 0x8000000Du; // clHighlight
constexpr quint32 kTealValue = 0x00808000u;
constexpr quint32 kWhiteValue = 0x00FFFFFFu;

// The platform's system colour indices, read from the palette that Qt keeps
// for the same purposes.
QColor systemColour(quint32 index, const QPalette& palette) {
    switch (index) {
    case 0:  // scroll bar
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
        return palette.color(QPalette::Button);
    case 1:  // desktop
    case 12: // application work space
    case 3:  // inactive caption
        return palette.color(QPalette::Mid);
    case 2:  // active caption
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 4: // menu
        return palette.color(QPalette::Window);
    case 5: // window
        return palette.color(QPalette::Base);
    case 6:  // window frame
    case 21: // 3-D dark shadow
        return palette.color(QPalette::Shadow);
    case 7:  // menu text
    case 19: // inactive caption text
        return palette.color(QPalette::WindowText);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 9:  // caption text
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 22: // 3-D light
        return palette.color(QPalette::Midlight);
    case 23: // info text
        return palette.color(QPalette::ToolTipText);
    case 24: // info background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

WindowColours storedWindowColours(platform::SettingsStore& store, const QPalette& palette) {
    WindowColours colours;
    const QString stored = store.read(platform::settings::kFarbe);
    colours.backgroundValue =
        stored.isEmpty() ? kHighlightValue : platform::colourFromText(stored).value_or(kTealValue);
    colours.background = colourFromValue(colours.backgroundValue, palette);
    const QString hint = store.read(platform::settings::kHinweistextFarbe);
    colours.hintText = colourFromValue(
        hint.isEmpty() ? kWhiteValue : platform::colourFromText(hint).value_or(kWhiteValue),
        palette);
    return colours;
}

QColor plainColourSetting(platform::SettingsStore& store, const QString& name,
                          const QColor& fallback) {
    const std::optional<quint32> value = platform::colourFromText(store.read(name));
    if (!value || platform::isSystemColour(*value))
        return fallback;
    return QColor(int(*value & 0xFF), int((*value >> 8) & 0xFF), int((*value >> 16) & 0xFF));
}

QColor colourFromValue(quint32 value, const QPalette& palette) {
    if ((value & 0xFF000000u) == 0x80000000u)
        return systemColour(value & 0xFFu, palette);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor darkenedBySevenPercent(const QColor& colour) {
    const auto darken = [](int c) { return c - (7 * c) / 100; };
    return QColor(darken(colour.red()), darken(colour.green()), darken(colour.blue()));
}

QColor darkenedToNinetyPercent(const QColor& colour) {
    return QColor(colour.red() * 9 / 10, colour.green() * 9 / 10, colour.blue() * 9 / 10);
}

void setBackgroundColour(QWidget* widget, const QColor& colour) {
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    if (!widget)
        return;
    QPalette palette = widget->palette();
    // Not the Text role: check boxes and radio buttons draw their mark in it
    // on a white box, where white hint text would hide the mark. Nor the
    // disabled state, which keeps the grey that tells the user so.
    for (auto group : {QPalette::Active, QPalette::Inactive})
        for (auto role : {QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, colour);
    widget->setPalette(palette);
}

} // namespace widgets
