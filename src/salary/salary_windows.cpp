#include "salary_windows.h"

namespace salary {

void registerWindows() {}

}  // namespace salary
