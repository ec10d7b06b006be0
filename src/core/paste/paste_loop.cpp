// The clipboard watch loop. (Not built yet.)
#include "core/paste/module1.h"

namespace harumado::paste {

void PasteLoop(app::Program&) {}

}  // namespace harumado::paste
