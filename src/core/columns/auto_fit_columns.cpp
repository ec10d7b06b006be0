// Column fitting of columns A to E. (Not built yet.)
#include "core/columns/module4.h"

namespace harumado::columns {

void AutoFitColumns(app::Program&) {}

}  // namespace harumado::columns
