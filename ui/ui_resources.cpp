#include "ui/ui_resources.h"

#include <QtGlobal>

void initUiResources()
{
    Q_INIT_RESOURCE(clipmint);
}
