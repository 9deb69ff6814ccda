#pragma once

// The module's test classes share one executable; each file registers its
// class here and main() runs them all.

#include <QObject>

#include <functional>
#include <vector>

namespace fixture {

inline std::vector<std::function<QObject*()>>& testClasses() {
    static std::vector<std::function<QObject*()>> classes;
    return classes;
}

inline bool registerTestClass(std::function<QObject*()> make) {
    testClasses().push_back(std::move(make));
    return true;
}

} // namespace fixture

#define TROVEX_FILELIST_TEST(Class)                                                                \
    static const bool registered##Class = fixture::registerTestClass([] { return new Class; });
