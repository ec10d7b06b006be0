// Shutdown: the main window's unload sequence. (Not built yet: the settings writer comes next.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Form_Unload() {}

}  // namespace harumado::app
