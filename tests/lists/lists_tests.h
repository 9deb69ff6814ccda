#pragma once

#include <QObject>

// The test classes of the list module, run one after the other by main().
QObject* makeListRulesTest();
QObject* makeListBuilderTest();
