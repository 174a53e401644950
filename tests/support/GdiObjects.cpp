#include "GdiObjects.h"

#include <algorithm>
#include <vector>

namespace tarvo::test {

DWORD gdiObjectsInUse() {
    SetLastError(0);
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return count;
    std::vector<HPEN> probes(64);
    DWORD highest = 0;
    for (HPEN& probe : probes) {
        probe = CreatePen(PS_SOLID, 1, 0);
        highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(probe)));
    }
    for (HPEN probe : probes)
        DeleteObject(probe);
    return highest;
}

}  // namespace tarvo::test
