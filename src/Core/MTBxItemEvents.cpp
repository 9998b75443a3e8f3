#include "MiniToolbars/MTBxItemEvents.h"

MTBxItemEvents::~MTBxItemEvents() = default;
