#include "results_page.h"

#include "search_text.h"

#include "platform/program_directory.h"
#include "textio/text_files.h"
#include "textio/utf8.h"

namespace search {
namespace {

const QString kLinkSeparator = QStringLiteral("#!!!#");
const QString kCountMarker = QStringLiteral(" mal in:");

} // namespace

QString settingsText(bool caseSensitive, bool wholeWords) {
    if (caseSensitive && wholeWords)
        return QStringLiteral("Sucheinstellung: Gross/Kleinschreibung <u>beachten</u> und nur "
                              "<u>ganze</u> Wörter.");
    if (caseSensitive)
        return QStringLiteral("Sucheinstellung: Gross/Kleinschreibung <u>beachten</u> und "
                              "Suchtext <u>auch als Teil</u> in einem Wort/Satz finden.");
    if (wholeWords)
        return QStringLiteral(
            "Sucheinstellung: Gross/klein <u>egal</u> und <u>nur</u> ganze Wörter.");
    return QStringLiteral("Sucheinstellung: Gross/klein <u>egal</u> und Suchtext <u>auch als "
                          "Teil</u> in einem Wort/Satz finden.");
}

QString htmlEscaped(QStringView text) {
    QString escaped;
    escaped.reserve(text.size());
    for (QChar ch : text) {
        switch (ch.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            break;
        case u'<':
            escaped += QStringLiteral("&lt;");
            break;
        case u'>':
            escaped += QStringLiteral("&gt;");
            break;
        case u'"':
            escaped += QStringLiteral("&quot;");
            break;
        default:
            escaped += ch;
        }
    }
    return escaped;
}

QString convertResultLine(const QString& line) {
    if (!line.contains(QStringLiteral(":/")))
        return line;
    const qsizetype separator = line.indexOf(kLinkSeparator);
    const QString head = separator >= 0 ? line.left(separator) : line;
    const QString context =
        separator >= 0 ? line.mid(separator + kLinkSeparator.size()) : QString();
    const qsizetype marker = head.indexOf(kCountMarker);
    if (marker < 0)
        return line;
    const QString count = head.left(marker);
    QString link = head.mid(marker + kCountMarker.size());
    if (link.startsWith(QLatin1Char(' ')))
        link.remove(0, 1);
    const QString shownLink = htmlEscaped(link);
    return QStringLiteral("<font color=\"#000000\">") + count + QStringLiteral(" mal in: ") +
           QStringLiteral("<a href=\"") + shownLink + QStringLiteral("\" target=\"_blank\">") +
           shownLink + QStringLiteral("</a><br>") + QStringLiteral("<font color=\"#000080\">") +
           context;
}

QString markSearchTerm(const QString& line, QStringView trimmedSearchText) {
    if (trimmedSearchText.isEmpty())
        return line;
    const QString term = upperPerUnit(trimmedSearchText);
    const qsizetype at = upperPerUnit(line).lastIndexOf(term);
    if (at < 0)
        return line;
    QString marked = line;
    marked.insert(at, QStringLiteral("<b>"));
    const qsizetype again = upperPerUnit(marked).lastIndexOf(term);
    marked.insert(again + trimmedSearchText.size(), QStringLiteral("</b>"));
    return marked;
}

QStringList resultsPageLines(const ResultsPageInput& input) {
    const QString settings = settingsText(input.caseSensitive, input.wholeWords);
    QStringList body;
    for (const QString& line : input.bodyLines)
        body.append(trimBlanksAndControls(line));
    const bool found = !body.isEmpty() && !input.cancelled;
    if (found) {
        const QString term = trimBlanksAndControls(input.searchText);
        for (QString& line : body) {
            line = markSearchTerm(convertResultLine(line), term);
            if (line.contains(QStringLiteral("...wenn keine Fundstellen mehr vorhanden")) ||
                line.contains(QStringLiteral("Fertig mit der Suche")))
                line.prepend(QStringLiteral("<font color=\"#000000\">"));
        }
    }

    QStringList page = {
        QStringLiteral("<html>"),
        QStringLiteral("<Head>"),
        QStringLiteral("<Title> Trovex-ODT Suchergebnis </Title>"),
        QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"),
        QStringLiteral("</Head>"),
        QStringLiteral("<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" "
                       "Vlink=\"#999999\" Alink=\"#999999\" > <font face=\"verdana, arial, "
                       "helvetica\">"),
        QStringLiteral("Datenbankname: \"") + input.databaseName + QStringLiteral("\"<br>") +
            settings + QStringLiteral("<br>"),
    };
    // A cancelled search has no verdict; its page carries the cancel lines
    // under the summary instead of a term line.
    if (!input.cancelled)
        page.append(
            QStringLiteral("<br>Suchbegriff: <font color=\"#cc0000\">\"<u>") +
            htmlEscaped(input.searchText) +
            (found ? QStringLiteral("\"</u><font color=\"#000000\"> wurde gefunden:<br>")
                   : QStringLiteral("\"</u><font color=\"#000000\"> wurde NICHT gefunden:<br>")));
    page.append(QString(settings.size() / 2, QLatin1Char('_')) + QStringLiteral("<br><br>"));
    page.append(body);
    page.append(QStringLiteral("</font>"));
    page.append(QStringLiteral("</body>"));
    page.append(QStringLiteral("</html>"));
    return page;
}

QByteArray resultsPageBytes(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return textio::encodeForCodePage(text, textio::CodePageUtf8);
}

QString resultsPageFileName(int pass) {
    return pass == 2 ? QStringLiteral("TX_Ergebnis2.htm") : QStringLiteral("TX_Ergebnis.htm");
}

PageWriteResult SchreibHTMLDoc(const ResultsPageInput& input, int pass,
                               const QString& programDirectory, const PageOpener& openPage) {
    PageWriteResult result;
    result.path = platform::withTrailingSeparator(programDirectory) + resultsPageFileName(pass);
    result.written = textio::writeFileAtomically(
        result.path, resultsPageBytes(resultsPageLines(input)), &result.error);
    if (result.written && openPage)
        openPage(result.path);
    return result;
}

} // namespace search
