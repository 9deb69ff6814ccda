#include "title_display.h"

#include "textio/utf8.h"
#include "textio/windows1252.h"

namespace viewer {

QString formatTopOffset(qint64 top, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(top);
}

QString fileNameOfEntryPath(const QString& entryPath) {
    const QString name = entryPath.mid(entryPath.lastIndexOf(QLatin1Char('\\')) + 1);
    return textio::utf8DecodeLenient(textio::ansiBytes(name));
}

QString titleCaption(qint64 top, const FilePositions& positions, bool sortedListShown,
                     const QLocale& locale) {
    const QString offset = formatTopOffset(top, locale);
    if (positions.isEmpty() || sortedListShown)
        return offset;
    const auto entry = positions.entryForTop(top);
    if (!entry)
        return offset;
    return offset + QStringLiteral("  \"") + fileNameOfEntryPath(positions.pathAt(*entry)) +
           QLatin1Char('"');
}

QString fitCaption(QString caption, int left, int panelWidth,
                   const std::function<int(QStringView)>& width) {
    bool cut = false;
    while (!caption.isEmpty() && left + width(caption) >= panelWidth) {
        caption.chop(7);
        cut = true;
    }
    if (cut)
        caption += QStringLiteral("...");
    return caption;
}

} // namespace viewer
