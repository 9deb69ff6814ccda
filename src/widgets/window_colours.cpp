#include "window_colours.h"

#include "platform/colour_text.h"
#include "platform/settings_values.h"

#include <QWidget>

#include <cmath>

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
    const QString stored = store.read(platform::settings::kBackgroundColour);
    colours.backgroundValue =
        stored.isEmpty() ? kHighlightValue : platform::colourFromText(stored).value_or(kTealValue);
    colours.background = colourFromValue(colours.backgroundValue, palette);
    const QString hint = store.read(platform::settings::kHintTextColour);
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

double relativeLuminance(const QColor& colour) {
    const auto linear = [](int component) {
        const double c = component / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

double contrastRatio(const QColor& first, const QColor& second) {
    const double a = relativeLuminance(first) + 0.05;
    const double b = relativeLuminance(second) + 0.05;
    return a > b ? a / b : b / a;
}

QColor blackOrWhiteOn(const QColor& background) {
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

QColor readableTextColour(const QColor& wanted, const QColor& background) {
    return contrastRatio(wanted, background) >= kReadableContrast ? wanted
                                                                  : blackOrWhiteOn(background);
}

QColor disabledTextColour(const QColor& enabledText, const QColor& background) {
    // The mixes are tried from the background's side, so the first that
    // reaches the floor is the faintest that still reads.
    constexpr int kSteps = 64;
    const auto mix = [&](int step) {
        const auto part = [step](int text, int back) {
            return (text * step + back * (kSteps - step) + kSteps / 2) / kSteps;
        };
        return QColor(part(enabledText.red(), background.red()),
                      part(enabledText.green(), background.green()),
                      part(enabledText.blue(), background.blue()));
    };
    for (int step = 1; step < kSteps; ++step) {
        const QColor candidate = mix(step);
        if (contrastRatio(candidate, background) >= kDisabledContrast)
            return candidate;
    }
    return enabledText;
}

QPalette withReadableDisabledText(QPalette palette) {
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::ButtonText, QPalette::Button},
        {QPalette::Text, QPalette::Base}};
    for (const auto& [text, background] : pairs) {
        const QColor back = palette.color(QPalette::Disabled, background);
        palette.setColor(
            QPalette::Disabled, text,
            disabledTextColour(readableTextColour(palette.color(QPalette::Active, text), back),
                               back));
    }
    return palette;
}

void setBackgroundColour(QWidget* widget, const QColor& colour) {
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    // Only the window text: buttons draw their ButtonText on a face of
    // their own, which keeps its colour.
    const QColor text = blackOrWhiteOn(colour);
    palette.setColor(QPalette::Active, QPalette::WindowText, text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledTextColour(text, colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    if (!widget)
        return;
    QPalette palette = widget->palette();
    const QColor background = palette.color(QPalette::Active, QPalette::Window);
    const QColor enabled = readableTextColour(colour, background);
    const QColor disabled = disabledTextColour(enabled, background);
    // Not the Text role: check boxes and radio buttons draw their mark in it
    // on a white box, where white hint text would hide the mark.
    for (auto role : {QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, enabled);
        palette.setColor(QPalette::Inactive, role, enabled);
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    widget->setPalette(palette);
}

} // namespace widgets
