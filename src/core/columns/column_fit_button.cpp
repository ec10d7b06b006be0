// The column-fit button Command2.
#include "core/app/form1.h"
#include "core/columns/module4.h"

namespace harumado::app {

void Form1::Command2_Click() { columns::AutoFitColumns(program); }

}  // namespace harumado::app
