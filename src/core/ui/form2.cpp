#include "core/ui/form2.h"

#include "core/ui/layouts.h"

namespace harumado::ui {

Form2::Form2() : window_(MakeUsageWindowLayout()) {}

}  // namespace harumado::ui
