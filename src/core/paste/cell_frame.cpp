// The cell-frame button Command1. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Command1_Click() {}

}  // namespace harumado::app
