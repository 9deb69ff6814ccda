#include "lists_tests.h"
#include "support/test_classes.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return testsupport::runTestClasses(
        argc, argv,
        {[] { return std::unique_ptr<QObject>(makeListRulesTest()); },
         [] { return std::unique_ptr<QObject>(makeListBuilderTest()); }});
}
