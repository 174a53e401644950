#include "gui-win32/Win32FileChooser.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "gui-win32/OtherWindowsDisabled.h"

namespace tarvo::win32 {

namespace {

constexpr std::size_t kPathBuffer = MAX_PATH;

// The dialogs take the extension without its dot; "*.xls" means "xls".
std::string bareExtension(const std::string& extension) {
    const std::size_t dot = extension.rfind('.');
    return dot == std::string::npos ? extension : extension.substr(dot + 1);
}

}  // namespace

std::string filterList(const std::vector<FileFilter>& filters) {
    std::string list;
    for (const FileFilter& filter : filters) {
        list += filter.name;
        list += '\0';
        list += filter.pattern;
        list += '\0';
    }
    list += '\0';
    return list;
}

std::string Win32FileChooser::choose(const FileDialogRequest& request) {
    std::array<char, kPathBuffer> file{};
    const std::size_t initial = std::min(request.initialFileName.size(), file.size() - 1);
    std::memcpy(file.data(), request.initialFileName.data(), initial);
    const std::string filters = filterList(request.filters);
    const std::string extension = bareExtension(request.defaultExtension);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.selectedFilter + 1);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir =
        request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (request.overwritePrompt) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
    }
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    const OtherWindowsDisabled modal(dialog.hwndOwner);
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    return chosen ? std::string(file.data()) : std::string();
}

}  // namespace tarvo::win32
