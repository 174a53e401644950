#include <gtest/gtest.h>

#include <QApplication>

namespace {

// Widgets need one application object for the whole test program; without a
// display the tests run on the offscreen platform.
class QtApplicationEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = new QApplication(argc_, argv_);
    }
    void TearDown() override { delete application_; }

  private:
    int argc_ = 1;
    char name_[16] = "window_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* application_ = nullptr;
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
