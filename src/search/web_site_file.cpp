#include "web_site_file.h"

#include "search/browser_launch.h"
#include "textio/text_files.h"

#include <QFile>
#include <QStringDecoder>

namespace websites {

namespace {

bool hasMark(QByteArrayView bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
           bytes.startsWith("\xEF\xBB\xBF");
}

// A file with a byte-order mark is read by its mark. Without one the Windows
// reading is ANSI; a file written on Linux is UTF-8, so valid UTF-8 is taken
// as such and anything else as Windows-1252.
QStringList decodeLines(QByteArrayView bytes) {
    if (!hasMark(bytes)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            QString unified = text;
            unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            return unified.split(QLatin1Char('\n'));
        }
    }
    return textio::decodeLinesWithMarkDetection(bytes);
}

QString trimmedValue(QString value) {
    value = value.trimmed();
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    return value.left(kMaximumValueLength);
}

} // namespace

std::optional<WebSiteFile> WebSiteFile::load(const QString& fileName) {
    const std::optional<QByteArray> bytes = textio::readFileBytes(fileName);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes);
}

WebSiteFile WebSiteFile::fromBytes(QByteArrayView bytes) {
    WebSiteFile file;
    file.lines_ = decodeLines(bytes);
    return file;
}

QString WebSiteFile::value(const QString& section, const QString& key) const {
    bool inSection = false;
    for (const QString& rawLine : lines_) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return trimmedValue(line.mid(equals + 1));
    }
    return {};
}

QStringList WebSiteFile::topics() const {
    return splitListValue(value(QStringLiteral("Themen1"), QStringLiteral("Liste")) +
                          value(QStringLiteral("Themen2"), QStringLiteral("Liste")));
}

QStringList WebSiteFile::sitesOfTopic(const QString& topic) const {
    return splitListValue(value(topic, QStringLiteral("Liste")));
}

QStringList splitListValue(const QString& value) {
    QStringList pieces;
    for (const QString& piece : value.split(QLatin1Char(','))) {
        const QString trimmed = piece.trimmed();
        if (!trimmed.isEmpty())
            pieces.append(trimmed);
    }
    return pieces;
}

QString siteHint(const QString& address) {
    if (search::isDirectSearchSite(address))
        return QStringLiteral("Grünes Symbol: [>] Webseite sucht selbständig nach dem Suchtext.");
    return QStringLiteral("Weißes Symbol: [+] Sie müssen den Suchtext auf der Webseite\r\n"
                          "mit Hilfe der Zwischenablage einfügen bzw. eintippen.");
}

QString siteSymbolText(const QString& address) {
    return search::isDirectSearchSite(address) ? QStringLiteral(">") : QStringLiteral("+");
}

} // namespace websites
