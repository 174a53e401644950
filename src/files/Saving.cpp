#include "files/Saving.h"

#include "files/ExportFormat.h"
#include "files/FilePath.h"
#include "files/Render.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

const FileFilter kFieryFilter{" Fiery (*.cm1)", " *.cm1"};
const FileFilter kDisplayFilter{" Display (*.txt)", " *.txt"};
const FileFilter kColorBusFilter{" ColorBus (*.den)", " *.den"};

bool carriesLineBreak(std::string_view name) {
    return name.find_first_of("\r\n") != std::string_view::npos;
}

std::string cutTo(std::string text, std::size_t length) {
    if (text.size() > length) {
        text.resize(length);
    }
    return text;
}

// The last saved file, read from the settings file itself: another run may
// have saved since this one started.
std::string storedPath(const IniFile& ini) {
    return ini.readString(kGenericSection, "FILEPATH", kStoredPathFallback, kStoredPathBuffer);
}

void rememberPath(const SaveContext& context, const std::string& path) {
    context.settings.filePath = cutTo(path, kMaxFilePath);
    context.settings.writeKey(context.ini, SettingKey::FilePath);
}

// True when every byte reached the file.
bool writeWhole(OutputFile& file, const std::string& text) {
    const bool written = text.empty() || file.write(text);
    const bool closed = file.close();
    return written && closed;
}

}  // namespace

std::vector<FileFilter> saveFilters(int fileType) {
    switch (fileType) {
        case static_cast<int>(ExportFormat::Dst34):
        case static_cast<int>(ExportFormat::Dst21):
        case static_cast<int>(ExportFormat::DstCustom):
            return {kFieryFilter, kDisplayFilter, kColorBusFilter};
        case static_cast<int>(ExportFormat::Ascii):
        case static_cast<int>(ExportFormat::AsciiBw):
            return {kColorBusFilter, kFieryFilter, kDisplayFilter};
        default:
            return {kDisplayFilter, kFieryFilter, kColorBusFilter};
    }
}

std::string defaultSaveExtension(int fileType) {
    const auto format = exportFormatFromIndex(fileType);
    return std::string(format ? fileExtension(*format) : "txt");
}

std::string chooseSaveFile(std::string& storedPath, int fileType, std::string_view title,
                           FileChooser& chooser) {
    const PathParts parts = splitPath(storedPath);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = title;
    request.filters = saveFilters(fileType);
    request.selectedFilter = 0;
    request.defaultExtension = defaultSaveExtension(fileType);
    request.initialFolder = parts.drive + parts.folder;
    request.initialFileName = withExtension(parts, request.defaultExtension);
    request.overwritePrompt = true;
    storedPath = request.initialFileName;
    return chooser.choose(request);
}

FileWrite writeChosenFile(const std::string& path, const std::function<std::string()>& render,
                          FileCreator& files, MessageBoxes& boxes) {
    // A line break would end FILEPATH early and put the rest into the settings
    // file as lines of their own.
    std::unique_ptr<OutputFile> file = carriesLineBreak(path) ? nullptr : files.create(path);
    if (!file) {
        boxes.show(kWrongPathText + path, text::kProgramName);
        return FileWrite::NotCreated;
    }
    const std::string text = render();
    if (!writeWhole(*file, text)) {
        boxes.show(kWriteFailedText, text::kProgramName);
        return FileWrite::Failed;
    }
    return text.empty() ? FileWrite::Empty : FileWrite::Written;
}

bool saveTable(const SaveContext& context) {
    Settings& settings = context.settings;
    std::string lastPath = storedPath(context.ini);
    const std::string chosen =
        chooseSaveFile(lastPath, settings.fileType, kSaveTitle, context.chooser);
    settings.filePath = cutTo(lastPath, kMaxFilePath);
    if (chosen.empty()) {
        return false;
    }
    // Asked only now, so the operator learns it after naming the file; no file
    // is created.
    if (settings.fileType == static_cast<int>(ExportFormat::DstCustom)) {
        context.boxes.show(kNotSupportedText, kWarningCaption);
        return false;
    }
    // Rendered after the dialog, so readings taken while it was open are in the file.
    const FileWrite written = writeChosenFile(
        chosen,
        [&] {
            return renderTable(
                {context.table, settings.fileType, context.dateText, settings.version},
                context.boxes);
        },
        context.files, context.boxes);
    if (written == FileWrite::NotCreated) {
        return false;
    }
    // Also after a refused layout or a failed write: the file exists either way.
    rememberPath(context, chosen);
    // A refused layout renders nothing: the file is empty and holds no reading.
    return written == FileWrite::Written;
}

}  // namespace tarvo
