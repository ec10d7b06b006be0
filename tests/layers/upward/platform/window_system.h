#pragma once
#include "core/app/program.h"
