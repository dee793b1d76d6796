// Resource ids of KorDrv: the one header shared by the code and the resource scripts.
#pragma once

#include "kordrv/core/kordrv_ids.h"
#include "framework/framework_ids.h"
