#include "MTBxItemEvents.h"

MTBxItemEvents::~MTBxItemEvents() = default;
