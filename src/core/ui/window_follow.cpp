// The side windows follow the main window. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Timer1_Timer() {}
void Form1::Timer2_Timer() {}

}  // namespace harumado::app
