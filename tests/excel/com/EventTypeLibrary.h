#pragma once

#include <string>

namespace tarvo::test {

// COM carries a dispinterface between processes with the system's IDispatch
// marshaller, found through the type library that declares it; Excel's own
// library declares its workbook events. Without Excel, the local test server
// writes a library of its own into `file` declaring that interface, and
// registers it; unregistering removes both again.
bool registerEventTypeLibrary(const std::wstring& file);
void unregisterEventTypeLibrary(const std::wstring& file);

}  // namespace tarvo::test
