#pragma once
#include "platform/window_system.h"
