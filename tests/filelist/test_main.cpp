#include "support/test_classes.h"
#include "test_registry.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::vector<testsupport::TestClassMaker> makers;
    for (const auto& make : fixture::testClasses())
        makers.push_back([make] { return std::unique_ptr<QObject>(make()); });
    return testsupport::runTestClasses(argc, argv, makers);
}
