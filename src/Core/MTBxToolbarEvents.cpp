#include "MiniToolbars/MTBxToolbarEvents.h"

MTBxToolbarEvents::~MTBxToolbarEvents() = default;
