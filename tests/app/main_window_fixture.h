#pragma once

#include "app_test_services.h"

#include "app/main_window.h"
#include "app/new_database_dialog.h"
#include "app/question_window.h"
#include "app/search_window.h"
#include "app/searching_notice.h"
#include "app/settings_dialog.h"

#include <QByteArray>
#include <QDialog>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QTimer;

// A program directory in a temporary folder, the test doubles of every seam,
// and the windows created in the program's order. Modal windows are answered
// by `answerDialog`/`answerQuestion`/`answerSearch` instead of a user.
struct MainWindowFixture : AppTestServices {
    QTemporaryDir root;
    QString documents; // drive T: of the drive map
    // Answers the new-database dialog; default: cancel.
    std::function<int(app::NewDatabaseDialog&)> answerDialog;
    // Answers the list question: "Ja" (Accepted) or "Nein" (Rejected).
    int answerQuestion = QDialog::Rejected;
    int questionsAsked = 0;
    // What the user does in the search window; default: cancel.
    std::function<int(app::SearchWindow&)> answerSearch;

    // The other windows are children of the main window, as in the program;
    // they are destroyed first, so the main window never deletes them twice.
    std::unique_ptr<app::MainWindow> mainWindow;
    std::unique_ptr<app::NewDatabaseDialog> dialog;
    std::unique_ptr<app::SettingsDialog> settingsDialog;
    std::unique_ptr<app::QuestionWindow> question;
    std::unique_ptr<app::SearchWindow> searchWindow;
    std::unique_ptr<app::SearchingNotice> searchingNotice;

    MainWindowFixture();
    ~MainWindowFixture();

    // Creates the windows and runs the first paint.
    void start(bool show = false);

    // Files below the program directory.
    QString path(const QString& relative) const { return programDirectory + relative; }
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relative) const;
    bool exists(const QString& relative) const;
    // A database as the catalogue sees it: its document list.
    void addDatabase(const QString& name) const;
    // A document from the indexing fixtures, copied into drive T:.
    void addDocument(const QString& fixture, const QString& name) const;
    // The drive file list of T: with one full line per file.
    void writeDriveList(const QStringList& fileNames) const;

    // The dialog filled as a user does: name, folder by the browser, OK.
    int fillAndConfirm(app::NewDatabaseDialog& dialog, const QString& name);

    // A timer of the main window, by its name.
    QTimer* timer(const char* name) const;

    // Waits until the index run the main window works on has ended and its
    // end is shown; true at once when none is under way.
    bool waitForIndexRun() const;
};
