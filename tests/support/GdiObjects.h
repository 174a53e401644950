#pragma once

#include <windows.h>

namespace tarvo::test {

// GDI objects of this process. Wine answers GetGuiResources with
// ERROR_CALL_NOT_IMPLEMENTED; there the highest slot of its handle table that
// a batch of new objects takes stands in: freed slots are taken again before
// new ones, so it climbs only while objects stay behind.
DWORD gdiObjectsInUse();

}  // namespace tarvo::test
