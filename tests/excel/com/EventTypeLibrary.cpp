#include "EventTypeLibrary.h"

#include <windows.h>
// After windows.h, which they need.
#include <oaidl.h>
#include <oleauto.h>

#include "excel/ExcelMembers.h"
#include "excel/com/ComVariant.h"

namespace tarvo::test {

namespace {

// {4C636F4D-0F95-480C-974A-A06CC36CDC53}
constexpr GUID kLibraryId = {
    0x4C636F4D, 0x0F95, 0x480C, {0x97, 0x4A, 0xA0, 0x6C, 0xC3, 0x6C, 0xDC, 0x53}};

// Releases a COM reference when it goes.
template <typename T>
class Held {
  public:
    Held() = default;
    ~Held() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    T** put() { return &object_; }
    T* operator->() const { return object_; }
    T* get() const { return object_; }

  private:
    T* object_ = nullptr;
};

// A dispinterface derives from IDispatch, as stdole declares it.
bool deriveFromIDispatch(ICreateTypeInfo* events) {
    Held<ITypeLib> stdole;
    Held<ITypeInfo> dispatch;
    HREFTYPE base = 0;
    return SUCCEEDED(LoadTypeLib(L"stdole2.tlb", stdole.put())) &&
           SUCCEEDED(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.put())) &&
           SUCCEEDED(events->AddRefTypeInfo(dispatch.get(), &base)) &&
           SUCCEEDED(events->AddImplType(0, base));
}

bool writeLibrary(const std::wstring& file) {
    IID eventsId;
    const std::wstring eventsText = com::wideFromAnsi(excel::kWorkbookEventsId);
    Held<ICreateTypeLib2> library;
    Held<ICreateTypeInfo> events;
    return SUCCEEDED(IIDFromString(eventsText.c_str(), &eventsId)) &&
           SUCCEEDED(CreateTypeLib2(SYS_WIN32, file.c_str(), library.put())) &&
           SUCCEEDED(library->SetGuid(kLibraryId)) &&
           SUCCEEDED(library->SetName(const_cast<LPOLESTR>(L"TarvoTestExcelEvents"))) &&
           SUCCEEDED(library->SetVersion(1, 0)) &&
           SUCCEEDED(library->CreateTypeInfo(const_cast<LPOLESTR>(L"WorkbookEvents"),
                                             TKIND_DISPATCH, events.put())) &&
           SUCCEEDED(events->SetGuid(eventsId)) && deriveFromIDispatch(events.get()) &&
           SUCCEEDED(events->LayOut()) && SUCCEEDED(library->SaveAllChanges());
}

}  // namespace

bool registerEventTypeLibrary(const std::wstring& file) {
    Held<ITypeLib> written;
    return writeLibrary(file) &&
           SUCCEEDED(LoadTypeLibEx(file.c_str(), REGKIND_REGISTER, written.put()));
}

void unregisterEventTypeLibrary(const std::wstring& file) {
    UnRegisterTypeLib(kLibraryId, 1, 0, 0, SYS_WIN32);
    DeleteFileW(file.c_str());
}

}  // namespace tarvo::test
