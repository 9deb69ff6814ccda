#include "support/test_classes.h"

#include <QCoreApplication>

#include <memory>

// The search module's test classes run in one executable.
std::unique_ptr<QObject> makeByteFinderTest();
std::unique_ptr<QObject> makeHitContextTest();
std::unique_ptr<QObject> makeResultsPageTest();
std::unique_ptr<QObject> makeBrowserHistoryTest();
std::unique_ptr<QObject> makeSearchEngineTest();
std::unique_ptr<QObject> makeVariantStoreTest();
std::unique_ptr<QObject> makeSearchCliTest();

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return testsupport::runTestClasses(argc, argv,
                                       {makeByteFinderTest, makeHitContextTest, makeResultsPageTest,
                                        makeBrowserHistoryTest, makeSearchEngineTest,
                                        makeVariantStoreTest, makeSearchCliTest});
}
