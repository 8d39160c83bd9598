#pragma once
// Everything the other libraries use from the store.

#include "store/area_permissions.h"
#include "store/data_paths.h"
#include "store/database.h"
#include "store/date_text.h"
#include "store/maintenance.h"
#include "store/monitor_log.h"
#include "store/monitor_record.h"
#include "store/name_rows.h"
#include "store/settings_loaders.h"
#include "store/store_error.h"
#include "store/transaction.h"
#include "store/version_history.h"
