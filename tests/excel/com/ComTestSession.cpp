#include "ComTestSession.h"

namespace tarvo::test {

::testing::AssertionResult startOleWithTestServer(const CLSID& server, const char* fixture) {
    if (FAILED(OleInitialize(nullptr))) {
        return ::testing::AssertionFailure() << "OLE does not start";
    }
    CLSID registered;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &registered)) ||
        !IsEqualCLSID(registered, server)) {
        return ::testing::AssertionFailure()
               << "\"Excel.Application\" is not the test automation server here (the fixture "
               << fixture << " registers it); a real Excel is never driven";
    }
    return ::testing::AssertionSuccess();
}

RecordingMessageBoxes& oleMessages() {
    static RecordingMessageBoxes messages;
    return messages;
}

}  // namespace tarvo::test
