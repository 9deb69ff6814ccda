#include "test_registry.h"

#include <QCoreApplication>
#include <QtTest>

#include <memory>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (const auto& make : fixture::testClasses()) {
        std::unique_ptr<QObject> test(make());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    // The failures summed up could be a multiple of 256, which a shell reads
    // as success.
    return failures == 0 ? 0 : 1;
}
