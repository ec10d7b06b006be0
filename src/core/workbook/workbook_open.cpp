// The workbook open step Command8_Click. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Command8_Click() {}

}  // namespace harumado::app
