#include "app_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource's initialiser in the namespace it is
// used in; the generated one lives in the global namespace.
static void initResourcesOutsideNamespace() {
    Q_INIT_RESOURCE(app_resources);
}

namespace app {

void initAppResources() {
    initResourcesOutsideNamespace();
}

} // namespace app
