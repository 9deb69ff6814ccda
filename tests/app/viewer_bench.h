#pragma once

#include "app_test_services.h"
#include "quiet_host.h"
#include "search_window_wait.h"

#include "app/search_window.h"
#include "widgets/document_view.h"
#include "widgets/mirror_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A program directory with the database "Texte" over the folder D:\, and the
// search window shown for it, offscreen. Pauses are recorded, never waited.
struct ViewerBench : AppTestServices {
    QTemporaryDir root;
    QuietHost host;
    std::unique_ptr<app::SearchWindow> form;

    ViewerBench() {
        programDirectory = root.path() + QStringLiteral("/Programm/");
        QDir().mkpath(programDirectory + QStringLiteral("Datenbank"));
        writeDatabaseFile(QStringLiteral(".dat"), "PFAD_UND_ENDUNGEN= D:\\ *.odt    \r\n");
        form = std::make_unique<app::SearchWindow>(services(), host);
        form->setDatabaseName(QStringLiteral("Texte"));
        form->setStartSize(600, 1100);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    QString databaseFile(const QString& suffix) const {
        return programDirectory + QStringLiteral("Datenbank/Texte") + suffix;
    }
    void writeDatabaseFile(const QString& suffix, const QByteArray& bytes) const {
        QFile file(databaseFile(suffix));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void writeText(const QByteArray& bytes) const {
        writeDatabaseFile(QStringLiteral("_UTF8Dokument.txt"), bytes);
    }
    void writePositions(const QByteArray& bytes) const {
        writeDatabaseFile(QStringLiteral("_TitelPositionen.txt"), bytes);
    }

    widgets::DocumentView* view() const {
        return form->findChild<widgets::DocumentView*>(QStringLiteral("Viewer"));
    }
    widgets::MirrorBox* mirror() const {
        return form->findChild<widgets::MirrorBox*>(QStringLiteral("ViewerMemo"));
    }
    QLineEdit* edit(const char* name) const {
        return form->findChild<QLineEdit*>(QLatin1String(name));
    }
    QPushButton* button(const char* name) const {
        return form->findChild<QPushButton*>(QLatin1String(name));
    }
    QString label(const char* name) const {
        return form->findChild<QLabel*>(QLatin1String(name))->text();
    }

    // Waits for the end of a file-position list the window has started.
    void waitForPositionList() const {
        if (!form->positionListUnderWay())
            return;
        QSignalSpy ended(form.get(), &app::SearchWindow::filePositionListEnded);
        QVERIFY(ended.wait(kJobEndWait));
    }

    // "Suchen" with a find text, as typed into TntEdit1.
    void find(const QString& text) {
        if (edit("TntEdit1")->text() != text)
            edit("TntEdit1")->setText(text);
        form->onFindClicked();
        waitForFind();
    }
    // Waits for the end of a find the window has started.
    void waitForFind() const {
        if (!form->findUnderWay())
            return;
        QSignalSpy ended(form.get(), &app::SearchWindow::findEnded);
        QVERIFY(ended.wait(kJobEndWait));
    }
};

// Numbered lines "Zeile 000" ... of 11 bytes each with CR LF: line k starts
// at byte 11 * k.
inline QByteArray numberedLines(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "Zeile " + QByteArray::number(i).rightJustified(3, '0') + "\r\n";
    return text;
}
