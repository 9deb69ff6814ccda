#include "app_resources.h"

#include <QtGlobal>

static void initResourcesOutsideNamespace() {
    Q_INIT_RESOURCE(app_resources);
}

void initAppResources() {
    initResourcesOutsideNamespace();
}
