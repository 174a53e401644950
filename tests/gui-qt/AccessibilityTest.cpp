// The windows as a screen reader finds them: the application's accessible
// children, which the AT-SPI bridge hands on with the role it maps (Window
// to "frame", Dialog to "dialog", a client area to "filler", which a screen
// reader does not announce).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <memory>

#include "AcquisitionFakes.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/StripWindow.h"
#include "gui-qt/WelcomeWindow.h"
#include "res/Texts.h"

namespace tarvo {
namespace {

TEST(Accessibility, EveryTopLevelWindowReportsItselfAsAWindowOrADialog) {
    test::TempDir dir;
    IniFile ini{dir / "config" / "Tarvo.ini"};
    test::ManualClock clock;
    test::RecordingMessageBoxes messages;
    MainDialog dialog(MainDialogServices{ini, clock, messages, dir.path()});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.stripAction()->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.stripWindow()));
    ASSERT_TRUE(dialog.welcomeWindow()->isVisible());

    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    ASSERT_NE(application, nullptr);
    std::map<QString, QAccessible::Role> roles;
    for (int i = 0; i < application->childCount(); ++i) {
        QAccessibleInterface* window = application->child(i);
        ASSERT_NE(window, nullptr);
        const QString name = window->text(QAccessible::Name);
        EXPECT_TRUE(window->role() == QAccessible::Window || window->role() == QAccessible::Dialog)
            << "\"" << name.toStdString() << "\" has the role " << window->role();
        roles[name] = window->role();
    }
    EXPECT_EQ(roles[QStringLiteral("Strip")], QAccessible::Window);
    EXPECT_EQ(roles[QString::fromLatin1(text::kMainCaption)], QAccessible::Dialog);
    EXPECT_GE(application->childCount(), 3) << "the main, welcome and Strip windows";
}

}  // namespace
}  // namespace tarvo
