#include "MTBxToolbarEvents.h"

MTBxToolbarEvents::~MTBxToolbarEvents() = default;
