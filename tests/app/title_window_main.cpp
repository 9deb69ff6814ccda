// Helper of the window-title test (not a test itself): shows the main window
// and the question window on the X server under the xcb plugin and prints the
// title each gets on the server (_NET_WM_NAME), one "key<TAB>title" per line.
// Exit status 77: no X server to talk to.
#include "app_test_services.h"

#include "app/app_resources.h"
#include "app/application_identity.h"
#include "app/main_window.h"
#include "app/question_window.h"

#include "platform/cleared_window_titles.h"

#include <QApplication>
#include <QByteArray>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Asked on the toolkit's own connection, so the server answers after it has
// taken every title change sent before.
QString titleOnServer(const QWidget& window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, static_cast<xcb_window_t>(window.winId()), atom(connection, "_NET_WM_NAME"),
        atom(connection, "UTF8_STRING"), 0, 4096);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply)
        return QStringLiteral("<no reply>");
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

} // namespace

int main(int argc, char* argv[]) {
    int screen = 0;
    xcb_connection_t* probe = xcb_connect(nullptr, &screen);
    const bool noServer = xcb_connection_has_error(probe) != 0;
    xcb_disconnect(probe);
    if (noServer)
        return 77;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    app::nameTheApplication();
    platform::showClearedWindowTitles(app);
    app::initAppResources();

    QTemporaryDir root;
    AppTestServices doubles;
    doubles.programDirectory = root.path() + QLatin1Char('/');
    doubles.administrator = QCoreApplication::arguments().contains(QStringLiteral("--admin"));
    app::MainWindow mainWindow(doubles.services());
    app::QuestionWindow question(&mainWindow);
    mainWindow.setWindows({nullptr, nullptr, &question, nullptr});

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    mainWindow.show(); // the first paint sets the caption
    out << "main\t" << titleOnServer(mainWindow) << '\n';
    question.show();
    out << "question\t" << titleOnServer(question) << '\n';
    mainWindow.setWindowTitle(QString()); // as the end of an index run does
    out << "cleared\t" << titleOnServer(mainWindow) << '\n';
    return 0;
}
