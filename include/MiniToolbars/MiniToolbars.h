#ifndef MINITOOLBARS_MINITOOLBARS_H
#define MINITOOLBARS_MINITOOLBARS_H

#include "MiniToolbarsGlobal.h"
#include "MTBxString.h"
#include "MTBxItemEvents.h"
#include "MTBxToolbarEvents.h"
#include "MTBxItemEventsUtility.h"
#include "MTBxToolbarEventsUtility.h"
#include "MTBxItem.h"
#include "MTBxLabel.h"
#include "MTBxButton.h"
#include "MTBxCommandItem.h"
#include "MTBxSeparator.h"
#include "MTBxNewLine.h"
#include "MTBxListType.h"
#include "MTBxDropDownButton.h"
#include "MTBxCombobox.h"
#include "MTBxDropDownEntry.h"
#include "MiniToolbar.h"
#include "Options.h"
#include "TooltipOptions.h"
#include "Controller.h"
#include "ControllerObserver.h"
#include "IconHandles.h"
#include "ResourceModules.h"
#include "ActionToolbar.h"

#endif
