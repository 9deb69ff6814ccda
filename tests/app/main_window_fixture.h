#pragma once

#include "app_test_services.h"

#include "app/binbeimsuchen_form.h"
#include "app/einstell_form.h"
#include "app/hinweis_form.h"
#include "app/main_form.h"
#include "app/ok_bottom_dlg.h"
#include "app/search_form.h"

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
    std::function<int(TOKBottomDlg&)> answerDialog;
    // Answers the list question: "Ja" (Accepted) or "Nein" (Rejected).
    int answerQuestion = QDialog::Rejected;
    int questionsAsked = 0;
    // What the user does in the search window; default: cancel.
    std::function<int(TSuchForm&)> answerSearch;

    // The other windows are children of the main window, as in the program;
    // they are destroyed first, so the main window never deletes them twice.
    std::unique_ptr<TMainForm_TX_ODT> mainForm;
    std::unique_ptr<TOKBottomDlg> dialog;
    std::unique_ptr<TEinstellform> settingsDialog;
    std::unique_ptr<THinweisForm> question;
    std::unique_ptr<TSuchForm> searchWindow;
    std::unique_ptr<TBinbeimSuchenForm> searchingNotice;

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
    int fillAndConfirm(TOKBottomDlg& dialog, const QString& name);

    // A timer of the main window, by its name.
    QTimer* timer(const char* name) const;
};
