#pragma once

#include <QByteArray>
#include <QObject>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

using TestClassMaker = std::function<std::unique_ptr<QObject>()>;

// The arguments of one class's run. An output file given with -o would be
// written anew by every class, leaving only the last class's report; each
// class gets its own file instead, named after the class
// (report.xml -> report-FindTest.xml). Standard output ("-") is shared, as
// the reports follow one another there.
inline std::vector<QByteArray> argumentsForClass(int argc, char* argv[], const QByteArray& name) {
    std::vector<QByteArray> arguments(argv, argv + argc);
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] != "-o")
            continue;
        QByteArray& option = arguments[i + 1];
        const qsizetype comma = option.lastIndexOf(',');
        QByteArray file = comma < 0 ? option : option.left(comma);
        const QByteArray format = comma < 0 ? QByteArray() : option.mid(comma);
        if (file == "-")
            continue;
        const qsizetype slash = file.lastIndexOf('/');
        const qsizetype dot = file.lastIndexOf('.');
        const qsizetype at = dot > slash ? dot : file.size();
        file.insert(at, '-' + name);
        option = file + format;
    }
    return arguments;
}

// Runs the test classes of a module one after the other. Every class runs
// even after a failure, and the executable fails when any class failed: the
// failures are not summed, since a sum of 256 reads as success in a shell.
inline int runTestClasses(int argc, char* argv[], const std::vector<TestClassMaker>& makers) {
    bool failed = false;
    for (const TestClassMaker& make : makers) {
        const std::unique_ptr<QObject> test = make();
        std::vector<QByteArray> arguments =
            argumentsForClass(argc, argv, test->metaObject()->className());
        std::vector<char*> pointers;
        for (QByteArray& argument : arguments)
            pointers.push_back(argument.data());
        if (QTest::qExec(test.get(), int(pointers.size()), pointers.data()) != 0)
            failed = true;
    }
    return failed ? 1 : 0;
}

} // namespace testsupport
