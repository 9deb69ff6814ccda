#include "search_engine.h"

#include "byte_finder.h"
#include "document_hits.h"
#include "document_path.h"
#include "mapped_store.h"
#include "occurrence_scan.h"
#include "search_text.h"
#include "variant_store.h"

#include "database/database_paths.h"
#include "database/database_text.h"
#include "database/document_list.h"
#include "database/generation_switch.h"
#include "database/not_written_message.h"
#include "database/storage_hint.h"
#include "jobs/job_log.h"
#include "textio/utf8.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace search {
namespace {

const QString kMissingDocuments =
    QStringLiteral("Die original ODT-Datei wurden nicht gefunden.\r\nVerweise (Links) auf diese "
                   "HTML-Dateien in der Suchergebnisseite funktionieren dadurch nicht.");

int occurrenceLimit(int pass) {
    return pass == 1 ? 10 : 300;
}

// Occurrence scans of one search. A scan that went through the whole store
// in pass 1 already holds every occurrence, so pass 2 takes it instead of
// reading gigabytes a second time for the same positions.
class OccurrenceSource {
public:
    explicit OccurrenceSource(const MappedStore& store)
        : store_(store) {}

    OccurrenceScan occurrences(const QByteArray& pattern, bool caseFolded, UmlautFolding umlauts,
                               int limit, const platform::RunContext& run) {
        for (const Scan& scan : scans_) {
            if (scan.pattern == pattern && scan.caseFolded == caseFolded &&
                scan.umlauts == umlauts && scan.result.reachedEnd) {
                const QList<qint64>& all = scan.result.positions;
                return {all.mid(0, limit), all.size() <= limit};
            }
        }
        const ByteFinder finder(pattern, caseFolded, umlauts);
        OccurrenceScan result =
            scanOccurrences(store_.bytes(), finder, limit, run,
                            [this](qint64 from, qint64 to) { store_.release(from, to); });
        scans_.append({pattern, caseFolded, umlauts, result});
        return result;
    }

private:
    struct Scan {
        QByteArray pattern;
        bool caseFolded;
        UmlautFolding umlauts;
        OccurrenceScan result;
    };
    const MappedStore& store_;
    QList<Scan> scans_;
};

struct StoreContext {
    const SearchRequest& request;
    SearchSession& session;
    const SearchEnvironment& environment;
    QList<HitContextEntry>& hitContexts;
};

// The path of an accepted occurrence's document, or the path as read when
// the file is nowhere (the message about it once per search).
QString resolvedPath(const QString& path, StoreContext& context) {
    const ResolvedPath resolved = resolveDocumentPath(path, context.environment.programDirectory,
                                                      *context.environment.drives);
    if (!resolved.found && !context.session.missingDocumentMessageShown) {
        if (context.environment.notice)
            context.environment.notice({SearchNotice::Kind::DocumentsMissing, {}, {}});
        context.session.missingDocumentMessageShown = true;
    }
    return resolved.path;
}

// The database text's answers to the hit loop.
QList<DocumentResult> SuchdenTextUTF8(const MappedStore& store, const QList<qint64>& occurrences,
                                      const QByteArray& pattern, const ByteFinder& marker,
                                      StoreContext& context) {
    DocumentStartLocator locator(store.bytes(), marker, true);
    OccurrenceReader reader;
    reader.documentStart = [&](qint64 occurrence) {
        return locator.documentStartBefore(occurrence);
    };
    reader.headerPath = [&](qint64 start) {
        return documentPathFromHeader(store.readRange(start, start + 255));
    };
    // Which occurrences count is decided on the whole window; only the
    // piece shown stays inside the document.
    reader.wholeWord = [&](qint64 occurrence) {
        return passesWholeWordTest(readContext(store, contextWindow(occurrence, store.size())),
                                   pattern, umlautFolding(context.request));
    };
    reader.context = [&](qint64 occurrence, qint64 start, const QString& path) {
        const ByteRange window = contextWindow(occurrence, store.size());
        const ShownRange shown =
            clipToDocument(window, documentTextStart(store.bytes(), start, window.to),
                           locator.documentStartAfter(occurrence, window.to));
        // The shown piece holds no other document's header, so no marker is
        // looked for in it: one there is the document's own text.
        return HitContextEntry{path, cleanContext(readContext(store, shown.range), path, QString()),
                               shown.startsAtText};
    };
    return documentResults(
        occurrences, reader, context.request.wholeWords,
        [&](const QString& path) { return resolvedPath(path, context); }, context.hitContexts,
        *context.environment.drives, *context.environment.run);
}

struct PassFindings {
    QList<DocumentResult> results;
    bool noHits = true;
    // Every store was searched to its end (no occurrence limit was reached).
    bool complete = true;
};

class StoreSearch {
public:
    StoreSearch(const SearchRequest& request, const SearchEnvironment& environment)
        : request_(request)
        , environment_(environment) {
        const QString& directory = environment.programDirectory;
        const QString& name = request.databaseName;
        database::completeInterruptedSwitch(directory, name);
        if (const auto header = database::readHeader(database::documentListPath(directory, name)))
            driveLetter_ = database::driveLetterOfHeader(*header);
        utf8Open_ = utf8Store_.open(database::databaseTextPath(directory, name));
        variantPath_ = database::mhtTextPath(directory, name);
        occurrences_.emplace(utf8Store_);
    }

    PassFindings runPass(int pass, SearchSession& session, QList<HitContextEntry>& hitContexts) {
        PassFindings findings;
        StoreContext context{request_, session, environment_, hitContexts};
        const QString markerText =
            driveLetter_ ? database::documentMarker(*driveLetter_) : QString();
        if (QFileInfo::exists(variantPath_)) {
            bool variantComplete = false;
            findings.results += SuchdenTextW(
                variantPath_, request_.searchText, markerText, request_.caseSensitive,
                request_.wholeWords, occurrenceLimit(pass), *environment_.run,
                [&](const QString& path) { return resolvedPath(path, context); }, hitContexts,
                *environment_.drives, &variantComplete);
            findings.complete = findings.complete && variantComplete;
        }
        if (!utf8Open_ || !driveLetter_)
            return findings;
        const platform::RunContext& run = *environment_.run;
        const ByteFinder marker(textio::utf8EncodePerUnit(markerText), true);
        const bool caseFolded = !request_.caseSensitive;
        QByteArray pattern = searchPattern(request_.searchText);
        const UmlautFolding umlauts = umlautFolding(request_);
        OccurrenceScan scan =
            occurrences_->occurrences(pattern, caseFolded, umlauts, occurrenceLimit(pass), run);
        if (scan.positions.isEmpty()) {
            // A long text may begin with something the store does not hold
            // (a list marker pasted along); the second try drops 4 bytes.
            const QByteArray retry = retryPattern(request_.searchText);
            if (retry != pattern) {
                pattern = retry;
                scan = occurrences_->occurrences(pattern, caseFolded, umlauts,
                                                 occurrenceLimit(pass), run);
            }
        }
        const QList<qint64>& occurrences = scan.positions;
        findings.complete = findings.complete && scan.reachedEnd;
        findings.noHits = occurrences.isEmpty();
        if (!occurrences.isEmpty())
            findings.results += SuchdenTextUTF8(utf8Store_, occurrences, pattern, marker, context);
        return findings;
    }

private:
    const SearchRequest& request_;
    const SearchEnvironment& environment_;
    std::optional<QChar> driveLetter_;
    MappedStore utf8Store_;
    bool utf8Open_ = false;
    QString variantPath_;
    std::optional<OccurrenceSource> occurrences_;
};

QStringList resultLines(const QList<DocumentResult>& results) {
    QStringList lines;
    for (const DocumentResult& result : results)
        lines.append(result.line);
    return lines;
}

} // namespace

QList<DocumentResult> countPerDocument(const QStringList& acceptedPaths,
                                       const platform::DriveMap& drives,
                                       const platform::RunContext& run) {
    QList<DocumentResult> results;
    for (const QString& path : acceptedPaths) {
        run.checkpoint();
        if (run.cancelled())
            break;
        auto it = std::find_if(results.begin(), results.end(),
                               [&](const DocumentResult& r) { return r.path == path; });
        if (it != results.end())
            ++it->count;
        else
            results.append({path, 1, QString(), QString()});
    }
    for (DocumentResult& result : results) {
        result.link = documentLink(result.path, drives);
        result.line = resultLine(result.count, result.link);
    }
    return results;
}

QString searchNoticeText(const SearchNotice& notice, const QString& programDirectory) {
    switch (notice.kind) {
    case SearchNotice::Kind::NoSearchText:
        return QStringLiteral("Sie haben keinen Suchtext eingegeben!");
    case SearchNotice::Kind::DocumentsMissing:
        return kMissingDocuments;
    case SearchNotice::Kind::PageNotWritten:
        return database::withStorageHint(
            database::notWrittenMessage(QStringLiteral("Die Ergebnisseite ") +
                                            QDir::toNativeSeparators(notice.page),
                                        notice.error),
            programDirectory);
    }
    Q_UNREACHABLE();
    return QString();
}

bool isWarning(const SearchNotice& notice) {
    return notice.kind == SearchNotice::Kind::PageNotWritten;
}

bool foldUmlautsSetting(platform::SettingsStore& settings) {
    const QString stored = settings.read(kFoldUmlautsSetting);
    return stored.isEmpty() || stored == QLatin1String("1");
}

UmlautFolding umlautFolding(const SearchRequest& request) {
    return request.foldUmlauts && !request.caseSensitive ? UmlautFolding::On : UmlautFolding::Off;
}

QStringList cancelBodyLines() {
    return {QStringLiteral("<br>Benutzer hat die Suche abgebrochen!<br><br>"),
            QStringLiteral("<br>"), QStringLiteral("Benutzer hat die Suche abgebrochen!"),
            QStringLiteral("<br><br>")};
}

namespace {

QList<PageBodyLine> notices(const QStringList& lines) {
    QList<PageBodyLine> body;
    for (const QString& line : lines)
        body.append(PageBodyLine::ofNotice(line));
    return body;
}

// The first and the last lines of a page body: a page that may still be
// followed by another says the search goes on; a final one, as the second
// page always is, says it is done.
QStringList openingNotices(bool final) {
    if (final)
        return {QStringLiteral("Fertig mit der Suche."), QStringLiteral("<br><br>")};
    return {QStringLiteral("...die Suche geht weiter! <br> Wenn es noch mehr Fundstellen gibt, "
                           "erscheint eine neue Ergebnis-Seite."),
            QStringLiteral("<br><br>")};
}

QStringList closingNotices(bool final) {
    if (final)
        return {QStringLiteral("<br>"), QStringLiteral("Fertig mit der Suche."),
                QStringLiteral("<br><br>")};
    return {QStringLiteral("...wenn keine Fundstellen mehr vorhanden, <br> dann wird in Trovex "
                           "\"Fertig mit der Suche\" angezeigt."),
            QStringLiteral("<br><br>")};
}

} // namespace

bool foldsUmlauts(const SearchRequest& request) {
    if (umlautFolding(request) != UmlautFolding::On)
        return false;
    const QString text = trimBlanksAndControls(request.searchText);
    return std::any_of(text.begin(), text.end(),
                       [](QChar ch) { return foldedTwoByteLetter(ch.unicode()) != 0; });
}

SearchOutcome searchDatabase(const SearchRequest& request, SearchSession& session,
                             const SearchEnvironment& environment) {
    SearchOutcome outcome;
    const platform::RunContext& run = *environment.run;
    QList<HitContextEntry> hitContexts; // once per search: pass 2 reuses pass-1 contexts
    StoreSearch store(request, environment);
    int firstPassLineCount = -1;
    QStringList firstPassResultLines;
    bool firstPageFinal = false;

    // `pageOfPass` names the file; a page rewritten in place is not opened again.
    auto writePage = [&](const QList<PageBodyLine>& body, int pageOfPass, bool cancelled,
                         const QStringList& listed, bool open) {
        if (request.pathOpened)
            return;
        ResultsPageInput input;
        input.searchText = request.searchText;
        input.body = body;
        input.databaseName = request.databaseName;
        input.caseSensitive = request.caseSensitive;
        input.wholeWords = request.wholeWords;
        input.foldedUmlauts = foldsUmlauts(request);
        input.cancelled = cancelled;
        const PageWriteResult written =
            writeResultsPage(input, pageOfPass, environment.programDirectory,
                             open ? environment.openPage : PageOpener());
        if (!written.written) {
            // Said once: the page of the second pass would fail alike.
            if (outcome.pageWriteError.isEmpty() && environment.notice)
                environment.notice(
                    {SearchNotice::Kind::PageNotWritten, written.path, written.error});
            outcome.pageWriteError = written.error;
            return;
        }
        outcome.lastPagePass = pageOfPass;
        outcome.lastPagePath = written.path;
        outcome.lastPageResultLines = listed;
    };

    for (int pass = 1; pass <= 2; ++pass) {
        if (environment.passStarted)
            environment.passStarted(pass);
        if (trimBlanksAndControls(request.searchText).isEmpty()) {
            if (environment.notice)
                environment.notice({SearchNotice::Kind::NoSearchText, {}, {}});
            outcome.emptySearchText = true;
            return outcome;
        }
        const PassFindings findings = store.runPass(pass, session, hitContexts);
        qCDebug(lcJobs) << "search pass" << pass << "found" << findings.results.size()
                        << "documents" << (findings.complete ? "(complete)" : "")
                        << (run.cancelled() ? "(stopped)" : "");
        outcome.noHits = findings.noHits;
        // A first pass that went through every store to its end holds all
        // there is: the second finds the same, so the first page is final.
        const bool final = pass == 2 || findings.complete;
        if (pass == 1)
            firstPageFinal = final;
        QList<PageBodyLine> body = notices(openingNotices(final));

        if (!run.cancelled()) {
            for (const DocumentResult& result : findings.results)
                body.append(PageBodyLine::ofResult(
                    {result.count, result.link, contextOf(result.path, hitContexts)}));
            // Pass 2 lets the pass-1 page stand only when it found exactly
            // what that page lists: the same number of lines alone would
            // leave "10 mal in:" standing for a document with 300 hits.
            if (pass == 1) {
                firstPassLineCount = static_cast<int>(body.size());
                firstPassResultLines = resultLines(findings.results);
            } else if (firstPassLineCount < 50 && firstPassLineCount == body.size() &&
                       firstPassResultLines == resultLines(findings.results)) {
                // The first page stands. Written before the end was known, it
                // still says the search goes on: its file is made final,
                // without opening it a second time.
                if (!firstPageFinal) {
                    body += notices(closingNotices(true));
                    writePage(body, 1, false, firstPassResultLines, false);
                }
                break;
            }
            body += notices(closingNotices(final));
        }
        if (run.cancelled()) {
            outcome.cancelled = true;
            writePage(notices(cancelBodyLines()), pass, true, {}, true);
        }
        if (!findings.results.isEmpty()) {
            if (!run.cancelled())
                writePage(body, pass, false, resultLines(findings.results), true);
        } else if (!run.cancelled()) {
            writePage({}, pass, false, {}, true);
            break;
        }
    }
    return outcome;
}

} // namespace search
