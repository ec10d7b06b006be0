// The usage button Command10. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Command10_Click() {}
void Form1::Command10_MouseUp() {}

}  // namespace harumado::app
