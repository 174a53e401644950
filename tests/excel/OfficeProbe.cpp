#include "OfficeProbe.h"

#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XDialog.hpp>
#include <com/sun/star/awt/XExtendedToolkit.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "excel/calc/CalcSession.h"
#include "excel/calc/UnoSupport.h"

namespace tarvo::test {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using namespace tarvo::calc;

struct OfficeProbe::Impl {
    Reference<css::uno::XComponentContext> context;
    Reference<css::frame::XDesktop2> desktop;

    Reference<css::sheet::XSpreadsheetDocument> load(const std::filesystem::path& file) {
        auto component = desktop->loadComponentFromURL(fileUrl(file), "_blank", 0,
                                                       properties({property("Hidden", Any(true))}));
        return Reference<css::sheet::XSpreadsheetDocument>(component, UNO_QUERY_THROW);
    }

    static void close(const Reference<css::sheet::XSpreadsheetDocument>& document) {
        Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
    }

    // The office's open documents. One that goes while they are counted (the
    // client closing a workbook meanwhile) is left out rather than failing
    // the test at a moment that has nothing to do with it.
    std::vector<Reference<css::frame::XModel>> models() {
        std::vector<Reference<css::frame::XModel>> found;
        auto components = desktop->getComponents()->createEnumeration();
        while (components->hasMoreElements()) {
            try {
                Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
                if (model.is()) {
                    found.push_back(model);
                }
            } catch (const css::lang::DisposedException&) {
            } catch (const css::container::NoSuchElementException&) {
            }
        }
        return found;
    }

    // The open workbooks' frames, as the menus of their windows reach them.
    std::vector<Reference<css::frame::XDispatchProvider>> frames() {
        std::vector<Reference<css::frame::XDispatchProvider>> found;
        for (const auto& model : models()) {
            auto view = model->getCurrentController();
            if (view.is()) {
                found.emplace_back(view->getFrame(), UNO_QUERY_THROW);
            }
        }
        return found;
    }

    // A failing dispatch is told with the office's own words.
    void dispatch(const char* command) {
        try {
            auto helper = css::frame::DispatchHelper::create(context);
            for (const auto& frame : frames()) {
                helper->executeDispatch(frame, rtl::OUString::createFromAscii(command), "_self", 0,
                                        {});
            }
        } catch (const css::uno::Exception& error) {
            throw std::runtime_error(std::string(command) + ": " + toUtf8(error.Message));
        }
    }
};

// An office still starting may take long on a loaded machine under the
// sanitizers; one already running answers at once.
OfficeProbe::OfficeProbe(const std::string& pipeName) : impl_(new Impl) {
    impl_->context = connectToOffice(
        pipeName, std::chrono::steady_clock::now() + std::chrono::seconds(60), [] { return true; });
    if (!impl_->context.is()) {
        delete impl_;
        throw std::runtime_error("probe could not reach the office");
    }
    try {
        impl_->desktop = css::frame::Desktop::create(impl_->context);
    } catch (const css::uno::Exception& error) {
        delete impl_;
        throw std::runtime_error("probe reached no desktop: " + toUtf8(error.Message));
    }
}

OfficeProbe::~OfficeProbe() {
    delete impl_;
}

namespace {

bool isTimeFormat(const Reference<css::sheet::XSpreadsheetDocument>& document,
                  const Reference<css::table::XCell>& cell) {
    sal_Int32 key = 0;
    Reference<css::beans::XPropertySet>(cell, UNO_QUERY_THROW)->getPropertyValue("NumberFormat") >>=
        key;
    Reference<css::util::XNumberFormatsSupplier> supplier(document, UNO_QUERY_THROW);
    sal_Int16 type = 0;
    supplier->getNumberFormats()->getByKey(key)->getPropertyValue("Type") >>= type;
    return (type & css::util::NumberFormat::TIME) != 0;
}

}  // namespace

namespace {

ProbedCell probed(const Reference<css::sheet::XSpreadsheetDocument>& document,
                  const Reference<css::sheet::XSpreadsheet>& table, int row, int column) {
    auto found = table->getCellByPosition(column, row);
    ProbedCell result;
    switch (found->getType()) {
        case css::table::CellContentType_VALUE:
            result.kind = ProbedCell::Kind::Number;
            break;
        case css::table::CellContentType_TEXT:
            result.kind = ProbedCell::Kind::Text;
            break;
        case css::table::CellContentType_FORMULA:
            result.kind = ProbedCell::Kind::Formula;
            break;
        default:
            break;
    }
    result.number = found->getValue();
    result.time = isTimeFormat(document, found);
    result.text = toUtf8(Reference<css::text::XText>(found, UNO_QUERY_THROW)->getString());
    return result;
}

Reference<css::sheet::XSpreadsheet> sheetOf(
    const Reference<css::sheet::XSpreadsheetDocument>& document, int sheet) {
    Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(sheet), UNO_QUERY_THROW);
}

}  // namespace

ProbedCell OfficeProbe::cell(const std::filesystem::path& file, int sheet, int row, int column) {
    auto document = impl_->load(file);
    const ProbedCell result = probed(document, sheetOf(document, sheet), row, column);
    Impl::close(document);
    return result;
}

std::vector<std::vector<ProbedCell>> OfficeProbe::cells(const std::filesystem::path& file,
                                                        int sheet, int rows, int columns) {
    auto document = impl_->load(file);
    const auto table = sheetOf(document, sheet);
    std::vector<std::vector<ProbedCell>> block(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            block[static_cast<std::size_t>(row)].push_back(probed(document, table, row, column));
    }
    Impl::close(document);
    return block;
}

void OfficeProbe::closeDocumentsAsTheUser() {
    impl_->dispatch(".uno:CloseDoc");
}

// The office swaps the view after the dispatch returns; the test goes on once
// every workbook shows its new one.
void OfficeProbe::togglePrintPreview() {
    const auto views = [&] {
        std::vector<Reference<css::frame::XController>> found;
        for (const auto& model : impl_->models()) {
            found.push_back(model->getCurrentController());
        }
        return found;
    };
    const auto before = views();
    impl_->dispatch(".uno:PrintPreview");
    waitUntil(
        [&] {
            const auto now = views();
            for (std::size_t i = 0; i < now.size() && i < before.size(); ++i) {
                if (!now[i].is() || now[i] == before[i]) {
                    return false;
                }
            }
            return true;
        },
        std::chrono::seconds(10));
}

void OfficeProbe::changeAWorkbookOfTheOperator() {
    auto component = impl_->desktop->loadComponentFromURL("private:factory/scalc", "_blank", 0, {});
    Reference<css::sheet::XSpreadsheetDocument> document(component, UNO_QUERY_THROW);
    Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(0), UNO_QUERY_THROW);
    sheet->getCellByPosition(0, 0)->setValue(7.0);
}

void OfficeProbe::endOffice() {
    auto components = impl_->desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::util::XModifiable> document(components->nextElement(), UNO_QUERY);
        if (document.is()) {
            document->setModified(false);
            Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
        }
    }
    try {
        impl_->desktop->terminate();
    } catch (const css::uno::RuntimeException&) {
        // The office may go before it answers.
    }
}

// The office's question is a dialog among its toolkit's top windows, with
// the office's own (not the desktop's) widgets.
// Run on a thread of the test's own: an office that dies meanwhile (ended by
// the test, or killed) asks nothing, rather than ending the test program.
bool OfficeProbe::cancelQuestion(std::chrono::milliseconds bound,
                                 std::chrono::milliseconds thinking) try {
    Reference<css::awt::XExtendedToolkit> toolkit(css::awt::Toolkit::create(impl_->context),
                                                  UNO_QUERY_THROW);
    Reference<css::awt::XDialog> question;
    waitUntil(
        [&] {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
            for (sal_Int32 i = 0; i < toolkit->getTopWindowCount() && !question.is(); ++i) {
                question.set(toolkit->getTopWindow(i), UNO_QUERY);
            }
#pragma GCC diagnostic pop
            return question.is();
        },
        bound);
    if (!question.is()) {
        return false;
    }
    std::this_thread::sleep_for(thinking);
    question->endExecute();
    return true;
} catch (const css::uno::Exception&) {
    return false;
}

std::string OfficeProbe::activeCell() {
    for (const auto& model : impl_->models()) {
        Reference<css::view::XSelectionSupplier> view(model->getCurrentController(), UNO_QUERY);
        Reference<css::sheet::XCellAddressable> cell(view.is() ? view->getSelection() : Any(),
                                                     UNO_QUERY);
        if (!cell.is()) {
            return {};
        }
        const auto address = cell->getCellAddress();
        return std::string(1, static_cast<char>('A' + address.Column)) +
               std::to_string(address.Row + 1);
    }
    return {};
}

namespace {

bool accepts(const std::filesystem::path& socketPath) {
    const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    const bool connected =
        ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(client);
    return connected;
}

}  // namespace

// A display number of this process's own; the server is up once it accepts.
VirtualDisplay::VirtualDisplay() {
    if (::access("/usr/bin/Xvfb", X_OK) != 0) {
        return;
    }
    const std::string display = ":" + std::to_string(200 + ::getpid() % 700);
    const std::filesystem::path socket = "/tmp/.X11-unix/X" + display.substr(1);
    server_ = ::fork();
    if (server_ == 0) {
        // Gone with the test, however the test ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24",
                "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (server_ < 0 || !waitUntil([&] { return accepts(socket); }, std::chrono::seconds(10))) {
        stop();
        return;
    }
    ::setenv("DISPLAY", display.c_str(), 1);
}

VirtualDisplay::~VirtualDisplay() {
    stop();
}

void VirtualDisplay::stop() {
    if (server_ > 0) {
        ::kill(server_, SIGTERM);
        ::waitpid(server_, nullptr, 0);
        ::unsetenv("DISPLAY");
    }
    server_ = -1;
}

namespace {

// Empty for a process that ended meanwhile: reading its file then fails.
std::string readCommandLine(const std::filesystem::path& process) {
    try {
        std::ifstream file(process / "cmdline", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), {});
    } catch (const std::ios_base::failure&) {
        return {};
    }
}

}  // namespace

std::filesystem::path officeProfile(pid_t office) {
    const std::string commandLine = readCommandLine("/proc/" + std::to_string(office));
    const std::string prefix = "-env:UserInstallation=file://";
    const auto start = commandLine.find(prefix);
    if (start == std::string::npos) {
        return {};
    }
    const auto end = commandLine.find('\0', start);
    return commandLine.substr(start + prefix.size(), end - start - prefix.size());
}

std::vector<pid_t> officeProcesses(const std::string& pipeName) {
    std::vector<pid_t> found;
    const std::string needle = "pipe,name=" + pipeName + ";";
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (readCommandLine(entry.path()).find(needle) != std::string::npos) {
            // A zombie has an empty command line, so whatever matched is alive.
            found.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return found;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace tarvo::test

// The UNO runtime keeps its type descriptions for the life of the process and
// never frees them; the leak checker of sanitizer builds is told so. The
// bridge's reader thread drops a message it read when the bridge ends under
// it (an office that closes a workbook as its client lets go: 1 run in 30).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libuno_cppu.so\n"
           "leak:libuno_sal.so\n"
           "leak:libbinaryurplo.so\n"
           "leak:cppu_detail_getUnoType\n";
}
