#include "lists_tests.h"

#include <QCoreApplication>
#include <QtTest>

#include <memory>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto make : {makeListRulesTest, makeListBuilderTest}) {
        std::unique_ptr<QObject> test(make());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}
