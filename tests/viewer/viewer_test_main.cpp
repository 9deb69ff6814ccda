#include "support/test_classes.h"

#include <QCoreApplication>

#include <memory>

// The viewer module's test classes run in one executable.
std::unique_ptr<QObject> makeLineModelTest();
std::unique_ptr<QObject> makePagedTextTest();
std::unique_ptr<QObject> makeFindTest();
std::unique_ptr<QObject> makeLargeFileTest();
std::unique_ptr<QObject> makeFilePositionsTest();
std::unique_ptr<QObject> makePositionsCliTest();

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return testsupport::runTestClasses(argc, argv,
                                       {makeLineModelTest, makePagedTextTest, makeFindTest,
                                        makeLargeFileTest, makeFilePositionsTest,
                                        makePositionsCliTest});
}
