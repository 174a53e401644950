#include "ExcelLinkServer.h"

namespace tarvo::test {

AutomationServerFactory serverFor(FakeExcel& excel) {
    return excel.factory();
}

}  // namespace tarvo::test
