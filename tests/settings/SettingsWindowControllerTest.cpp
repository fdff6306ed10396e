// The settings window: one at a time, rebuilt fresh after it closes.
#include "settings/ui/SettingsWindowController.h"

#include "SettingsViewFixture.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {
int settingsWindowsOnScreen()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == QStringLiteral("Stashwell Settings")) {
            ++count;
        }
    }
    return count;
}
} // namespace

TEST(SettingsWindowController, OneWindowUntilClosedThenAFreshOne)
{
    SettingsViewFixture fixture;
    int viewsBuilt = 0;
    SettingsWindowController controller([&] {
        ++viewsBuilt;
        // Each window gets a view of its own over the same objects.
        SettingsView::Services services;
        services.reloadShortcut = [] { return -9878; };
        return new SettingsView(fixture.settings(), fixture.store(), services);
    });

    controller.show();
    controller.show();
    QWidget* first = controller.window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(viewsBuilt, 1);
    EXPECT_EQ(settingsWindowsOnScreen(), 1);
    EXPECT_EQ(first->size(), QSize(520, 640));
    EXPECT_EQ(first->minimumSize(), first->maximumSize()); // not resizable
    EXPECT_FALSE(first->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    SettingsView* firstView = first->findChild<SettingsView*>();
    firstView->commitHotkey(HotkeyShortcut{17, HotkeyShortcut::commandKey, "T"});
    ASSERT_TRUE(firstView->hotkeyError());

    QPointer<QWidget> closed(first);
    first->close();
    EXPECT_TRUE(waitUntil([&] { return !closed && !controller.window(); }));
    EXPECT_EQ(settingsWindowsOnScreen(), 0);

    controller.show();
    ASSERT_NE(controller.window(), nullptr);
    EXPECT_EQ(viewsBuilt, 2);
    EXPECT_EQ(settingsWindowsOnScreen(), 1);
    EXPECT_FALSE(controller.window()->findChild<SettingsView*>()->hotkeyError()); // fresh view state
}
