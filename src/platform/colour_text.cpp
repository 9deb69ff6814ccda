#include "colour_text.h"

#include <array>
#include <utility>

namespace platform {
namespace {

struct NamedColour {
    const char* name;
    quint32 value;
};

constexpr std::array<NamedColour, 41> kNamedColours = {{
    {"clBlack", 0x00000000},         {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},         {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},          {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},          {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},        {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},          {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},          {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},          {"clWhite", 0x00FFFFFF},
    {"clScrollBar", 0x80000000},     {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002}, {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},          {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},   {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},  {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},  {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E}, {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},     {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},       {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},  {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},       {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
}};

} // namespace

QString colourToText(quint32 colour) {
    for (const auto& named : kNamedColours) {
        if (named.value == colour)
            return QString::fromLatin1(named.name);
    }
    return QStringLiteral("$") +
           QStringLiteral("%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<quint32> colourFromText(const QString& text) {
    for (const auto& named : kNamedColours) {
        if (text.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    }
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(QLatin1Char('$')))
        value = text.mid(1).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    // The stored form is a signed 32-bit integer; "$"-hex covers all 32 bits.
    if (!ok || value < INT32_MIN || value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<quint32>(value);
}

bool isSystemColour(quint32 colour) {
    return (colour & 0xFF000000u) == 0x80000000u;
}

} // namespace platform
