// The thin application framework over Win32 and comctl32: everything in one include.
#pragma once

#include "framework/cmdtarget.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/docview.h"
#include "framework/framewnd.h"
#include "framework/framework_ids.h"
#include "framework/propsheet.h"
#include "framework/winapp.h"
#include "framework/wnd.h"
