// The paste mode selector Check2. (Not built yet.)
#include "core/app/form1.h"

namespace harumado::app {

void Form1::Check2_Click() {}

}  // namespace harumado::app
