#include "app/PictureSaving.h"

#include <gtest/gtest.h>

#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"

namespace tarvo {
namespace {

TEST(SavePicture, AsksForAPngAndWritesWhereTheOperatorChose) {
    test::AnsweringFileChooser chooser;
    test::RecordingMessageBoxes boxes;
    chooser.answerNext("/tmp/strip one.png");
    std::string written;
    EXPECT_TRUE(savePicture(chooser, boxes, [&](const std::string& path) {
        written = path;
        return true;
    }));
    EXPECT_EQ(written, "/tmp/strip one.png");
    ASSERT_EQ(chooser.requests.size(), 1u);
    const FileDialogRequest& request = chooser.requests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.defaultExtension, "png");
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(SavePicture, CancelWritesNothingAndAFailedWriteIsTold) {
    test::AnsweringFileChooser chooser;
    test::RecordingMessageBoxes boxes;
    bool asked = false;
    EXPECT_FALSE(savePicture(chooser, boxes, [&](const std::string&) { return asked = true; }));
    EXPECT_FALSE(asked);
    EXPECT_TRUE(boxes.shown.empty());

    chooser.answerNext("/no/such/folder/strip.png");
    EXPECT_FALSE(savePicture(chooser, boxes, [](const std::string&) { return false; }));
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"Cannot write the picture: /no/such/folder/strip.png"});
}

}  // namespace
}  // namespace tarvo
