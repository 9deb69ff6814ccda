// The file-position list of the shown database: which document each page
// of the viewer belongs to.
#include "search_window.h"
#include "search_window_viewer_state.h"
#include "window_jobs.h"

#include "database/database_paths.h"
#include "database/database_text.h"
#include "database/document_list.h"
#include "jobs/job_runner.h"
#include "platform/run_context.h"
#include "viewer/position_list_builder.h"
#include "widgets/document_view.h"
#include "widgets/viewer_panel.h"

#include <QDir>

#include <memory>

namespace app {

namespace {

// The drive letter of the database's folder, as the list build finds the
// documents by it; nothing when the document list names none.
std::optional<QChar> folderDriveLetter(const QString& programDirectory, const QString& name) {
    const auto header = database::readHeader(database::documentListPath(programDirectory, name));
    return header ? database::driveLetterOfHeader(*header) : std::nullopt;
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

bool SearchWindow::positionListUnderWay() const {
    return viewerState_->work == ViewerSideState::Work::PositionList;
}

void SearchWindow::loadTextAndBuildFilePositions() {
    onLoadTextClicked();
    buildFilePositionList();
}

// The list is the one the viewer's find would give, page by page, with word
// wrap off and the viewer's page height, starting from the page shown; it is
// found in one pass over the text instead of one drawn page per document.
void SearchWindow::buildFilePositionList() {
    // The list belongs to the database text; a shown sorted list has no
    // documents to place.
    if (!documentLoaded_ || sortedListShown_)
        return;
    widgets::DocumentView* view = viewerPanel_->view();
    view->setWordWrap(false);
    const QString& directory = services_.programDirectory;
    if (const std::optional<QChar> drive = folderDriveLetter(directory, databaseName_))
        viewerPanel_->setFindText(database::documentMarker(*drive));

    // The window takes no input until the list's end has been shown.
    setEnabled(false);
    const qint64 top = view->topOffset();
    const int rows = view->rowsPerPage();
    auto build = std::make_shared<viewer::PositionListBuild>();
    const bool started = windowjobs::start(
        *jobs_, services_,
        [directory, name = databaseName_, top, rows, build](const platform::RunContext& run) {
            *build = viewer::buildPositionList(directory, name, top, rows, &run);
        },
        [this, build] { endFilePositionList(*build); });
    if (started) {
        viewerState_->work = ViewerSideState::Work::PositionList;
    } else {
        setEnabled(true);
        view->setWordWrap(true);
    }
}

void SearchWindow::endFilePositionList(const viewer::PositionListBuild& build) {
    viewerState_->work = ViewerSideState::Work::None;
    setEnabled(true);
    widgets::DocumentView* view = viewerPanel_->view();
    const QString& directory = services_.programDirectory;
    switch (build.kind) {
    case viewer::PositionListBuild::Built:
        view->scrollToOffset(build.finalTop);
        viewerState_->positions = build.loaded;
        break;
    case viewer::PositionListBuild::WriteFailed:
        services_.prompts.error(
            QStringLiteral("Die Datei \"") +
            QDir::toNativeSeparators(database::filePositionListPath(directory, databaseName_)) +
            QStringLiteral("\" konnte nicht geschrieben werden: ") + build.error);
        break;
    case viewer::PositionListBuild::NoDatabase:
        services_.prompts.information(QStringLiteral("Die Datenbank ") + quoted(databaseName_) +
                                      QStringLiteral(" existiert nicht."));
        break;
    case viewer::PositionListBuild::NoDriveLetter:
        services_.prompts.information(QStringLiteral("Die Dokumentenliste der Datenbank ") +
                                      quoted(databaseName_) +
                                      QStringLiteral(" nennt keinen Ordner."));
        break;
    case viewer::PositionListBuild::NoText:
        services_.prompts.information(QStringLiteral("Die Datenbank ") + quoted(databaseName_) +
                                      QStringLiteral(" enthält keinen Text."));
        break;
    case viewer::PositionListBuild::Refused:
        services_.prompts.warning(build.error);
        break;
    case viewer::PositionListBuild::Cancelled:
        break;
    }
    view->setWordWrap(true);
    Q_EMIT filePositionListEnded();
}

} // namespace app
