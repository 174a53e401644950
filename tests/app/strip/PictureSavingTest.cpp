#include "app/strip/PictureSaving.h"

#include <gtest/gtest.h>

#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"

namespace tarvo {
namespace {

TEST(SavePicture, WritesThePngChosenAndTellsOfAFailedWriteButNotOfACancel) {
    test::AnsweringFileChooser chooser;
    test::RecordingMessageBoxes boxes;
    std::vector<std::string> written;
    auto writer = [&](bool works) {
        return [&, works](const std::string& path) {
            written.push_back(path);
            return works;
        };
    };
    EXPECT_FALSE(savePicture(chooser, boxes, writer(true)));
    chooser.answerNext("/tmp/strip one.png");
    EXPECT_TRUE(savePicture(chooser, boxes, writer(true)));
    EXPECT_EQ(chooser.requests.at(1).defaultExtension, "png");
    EXPECT_TRUE(boxes.shown.empty());

    chooser.answerNext("/no/such/strip.png");
    EXPECT_FALSE(savePicture(chooser, boxes, writer(false)));
    EXPECT_EQ(written, (std::vector<std::string>{"/tmp/strip one.png", "/no/such/strip.png"}));
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"Cannot write the picture: /no/such/strip.png"});
}

}  // namespace
}  // namespace tarvo
