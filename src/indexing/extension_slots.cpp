#include "extension_slots.h"

namespace indexing {

database::ExtensionSlots parsePatternText(const QString& patternText) {
    database::ExtensionSlots slots;
    qsizetype used = 0;
    QString word;
    const auto takeWord = [&] {
        if (!word.isEmpty() && used < 5)
            slots[used++] = word;
        word.clear();
    };
    for (const QChar c : patternText) {
        if (c == u'*' || c == u'.')
            takeWord();
        else
            word += c;
    }
    takeWord();
    for (QString& slot : slots) {
        if (!slot.contains(QLatin1Char('.')))
            slot = QLatin1Char('.') + slot.trimmed().toLower();
    }
    return slots;
}

database::ExtensionSlots listSlots(const database::ExtensionSlots& dialogSlots) {
    database::ExtensionSlots slots;
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = dialogSlots[i].size() == 1 ? QString() : QLatin1Char('*') + dialogSlots[i];
    return slots;
}

QString extensionPattern(const QString& pathOrLine) {
    const qsizetype separator = std::max(pathOrLine.lastIndexOf(QLatin1Char('\\')),
                                         pathOrLine.lastIndexOf(QLatin1Char(':')));
    const qsizetype dot = pathOrLine.lastIndexOf(QLatin1Char('.'));
    if (dot <= separator)
        return QStringLiteral("*");
    return QLatin1Char('*') + pathOrLine.mid(dot).toLower();
}

} // namespace indexing
