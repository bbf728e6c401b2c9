// The program's icon on its windows. It is embedded in the program and drawn
// by Qt's SVG plugins at run time: a build that leaves the resource out, an
// icon Qt cannot read, or a machine without the plugins would leave the
// windows with the platform's blank icon.
#include "sumwise_fixture.h"

#include "app/aboutbox.h"
#include "fw/app_metadata.h"
#include "fw/menu.h"
#include "update/self_test.h"

#include <QApplication>
#include <QImage>

namespace {

// How many pixels of the icon drawn at that size are not transparent.
int paintedPixels(const QIcon& icon, int size)
{
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) != 0;
    return painted;
}

} // namespace

TEST_F(SumwiseTest, EveryWindowCarriesTheProgramIcon)
{
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("SoundAbout")));
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    settle();
    ASSERT_NE(fw::openWindow<app::AboutBox>(), nullptr);
    ASSERT_NE(fw::openWindow<update::selfTest>(), nullptr);

    const QIcon program(fw::appMetadata().iconPath);
    // Drawn at the sizes a window list and a title bar use, most of the
    // square is covered: the icon is there and is read as a picture.
    for (int size : {16, 64}) {
        SCOPED_TRACE(size);
        EXPECT_GT(paintedPixels(program, size), size * size / 2);
    }
    for (fw::Window* window : fw::openWindows()) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        EXPECT_EQ(window->windowIcon().pixmap(32).toImage(), program.pixmap(32).toImage());
    }
}
