#include "app/strip/PictureSaving.h"

#include "res/Texts.h"

namespace tarvo {

bool savePicture(FileChooser& chooser, MessageBoxes& boxes, const PngWriter& write) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = kSavePictureTitle;
    request.filters = {{"PNG picture (*.png)", "*.png"}};
    request.defaultExtension = "png";
    request.initialFileName = "strip.png";
    request.overwritePrompt = true;
    const std::string path = chooser.choose(request);
    if (path.empty()) {
        return false;
    }
    if (!write(path)) {
        boxes.show(kPictureNotWrittenText + path, text::kProgramName);
        return false;
    }
    return true;
}

}  // namespace tarvo
