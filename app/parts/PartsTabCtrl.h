// The parts bar's tab row: one tab per parts list.
#pragma once

#include "platform/ui/TabCtrl.h"

class MPartsTabCtrl : public CTabCtrl {};
