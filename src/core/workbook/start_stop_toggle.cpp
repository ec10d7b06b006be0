// The start/stop button Command5. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Command5_Click() {}

}  // namespace harumado::app
