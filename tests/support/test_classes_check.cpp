// Checks the runner of a module's test classes from outside QtTest, since
// QTest::qExec cannot run inside another test. Exits non-zero on a fault.
#include "test_classes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class PassingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void passes() { QVERIFY(true); }
};

class FailingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fails() { QFAIL("planted failure"); }
};

int faults = 0;

void expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "FAULT: %s\n", what);
        ++faults;
    }
}

QByteArray joined(const std::vector<QByteArray>& arguments) {
    QByteArray all;
    for (const QByteArray& argument : arguments)
        all += argument + ' ';
    return all.trimmed();
}

QByteArray argumentsFor(std::vector<QByteArray> arguments) {
    std::vector<char*> pointers;
    for (QByteArray& argument : arguments)
        pointers.push_back(argument.data());
    return joined(
        testsupport::argumentsForClass(int(pointers.size()), pointers.data(), "FindTest"));
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);

    // Report files get the class's name; standard output and the other
    // options stay as they are.
    const struct {
        std::vector<QByteArray> given;
        QByteArray expected;
    } cases[] = {
        {{"t", "-o", "r.xml,junitxml"}, "t -o r-FindTest.xml,junitxml"},
        {{"t", "-o", "out/r,txt"}, "t -o out/r-FindTest,txt"},
        {{"t", "-o", "dir.d/report"}, "t -o dir.d/report-FindTest"},
        {{"t", "-o", "-,txt", "-o", "r.tap,tap"}, "t -o -,txt -o r-FindTest.tap,tap"},
        {{"t", "-silent", "fails"}, "t -silent fails"},
        {{"t", "-o"}, "t -o"},
    };
    for (const auto& c : cases)
        expect(argumentsFor(c.given) == c.expected, c.expected.constData());

    // A failing class fails the run, the class after it still runs, and
    // each class's report is kept.
    QTemporaryDir dir;
    const QByteArray report = QDir(dir.path()).filePath(QStringLiteral("r.txt")).toLocal8Bit();
    std::vector<QByteArray> arguments = {argv[0], "-o", report + ",txt"};
    std::vector<char*> pointers;
    for (QByteArray& argument : arguments)
        pointers.push_back(argument.data());
    const int status =
        testsupport::runTestClasses(int(pointers.size()), pointers.data(),
                                    {[] { return std::make_unique<FailingTest>(); },
                                     [] { return std::make_unique<PassingTest>(); }});
    expect(status == 1, "a failing class fails the run with status 1");
    expect(contents(dir.filePath(QStringLiteral("r-FailingTest.txt"))).contains("planted failure"),
           "the failing class's report is kept");
    expect(contents(dir.filePath(QStringLiteral("r-PassingTest.txt"))).contains("PASS   : "),
           "the class after the failure runs and its report is kept");

    const int passing = testsupport::runTestClasses(
        int(pointers.size()), pointers.data(), {[] { return std::make_unique<PassingTest>(); }});
    expect(passing == 0, "passing classes give status 0");

    std::printf(faults == 0 ? "runner: all checks passed\n" : "runner: %d faults\n", faults);
    return faults == 0 ? 0 : 1;
}

#include "test_classes_check.moc"
