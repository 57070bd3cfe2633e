#include "staff_windows.h"

namespace staff {

void registerWindows() {}

}  // namespace staff
