// The titles the window system shows: nothing is appended to them, and a
// cleared one reads "Trovex-ODT"; checked here through the application's
// naming and, where an X server is at hand, on the server itself.
#include "app/application_identity.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QTest>

class WindowTitlesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theApplicationHasNoDisplayName();
    void titlesOnAnXServer_data();
    void titlesOnAnXServer();
};

// A display name that is not set follows the application name; one that is
// set would stay, and the X11 and Wayland plugins would append it to every
// title.
void WindowTitlesTest::theApplicationHasNoDisplayName() {
    app::nameTheApplication();
    QCOMPARE(QGuiApplication::applicationName(), QStringLiteral("Trovex-ODT"));
    QGuiApplication::setApplicationName(QStringLiteral("Namensprobe"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Namensprobe"));
    app::nameTheApplication();
}

void WindowTitlesTest::titlesOnAnXServer_data() {
    QTest::addColumn<bool>("administrator");
    QTest::addColumn<QString>("mainTitle");
    QTest::newRow("user") << false
                          << QStringLiteral("  Trovex-ODT -  Die Suchmaschine für eBooks, "
                                            "LibreOffice, OpenOffice und Word (DOCX) Dokumente.");
    QTest::newRow("administrator")
        << true << QStringLiteral("Trovex-ODT - Mit Administratorberechtigung gestartet.");
}

void WindowTitlesTest::titlesOnAnXServer() {
    QFETCH(bool, administrator);
    QFETCH(QString, mainTitle);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X server (DISPLAY is not set)");
    const QString helper =
        QCoreApplication::applicationDirPath() + QStringLiteral("/app_title_window");
    if (!QFileInfo::exists(helper))
        QSKIP("the helper was not built (no xcb development files)");

    QProcess window;
    window.start(helper, administrator ? QStringList{QStringLiteral("--admin")} : QStringList());
    QVERIFY(window.waitForFinished(60000));
    const QByteArray errors = window.readAllStandardError();
    if (window.exitStatus() == QProcess::NormalExit && window.exitCode() == 77)
        QSKIP("no X server answers on DISPLAY");
    if (errors.contains("could not load the Qt platform plugin \"xcb\"") ||
        errors.contains("could not connect to display"))
        QSKIP(qPrintable(QStringLiteral("the xcb platform plugin cannot start here: ") +
                         QString::fromLocal8Bit(errors)));
    QVERIFY2(window.exitStatus() == QProcess::NormalExit && window.exitCode() == 0,
             errors.constData());

    QHash<QString, QString> titles;
    const QString output = QString::fromUtf8(window.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        titles.insert(line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1));

    QCOMPARE(titles.value(QStringLiteral("main")), mainTitle);
    QCOMPARE(titles.value(QStringLiteral("question")), QStringLiteral("Information"));
    // A caption the program clears shows the program's name, not a window
    // manager's "Unnamed Window".
    QCOMPARE(titles.value(QStringLiteral("cleared")), QStringLiteral("Trovex-ODT"));
}

QTEST_MAIN(WindowTitlesTest)
#include "window_titles_test.moc"
