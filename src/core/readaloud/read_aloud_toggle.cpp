// The read-aloud check box Check3. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Check3_Click() {}

}  // namespace harumado::app
