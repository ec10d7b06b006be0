#pragma once
// SAPI's declarations, after the Windows headers they need.
// clang-format off
#include "win32/win32_api.h"
#include <sapi.h>
// clang-format on
