#include "gui/shell/pictures.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// A picture that loaded is 32 x 32 and draws something: it has opaque and transparent pixels.
void ExpectDrawn(const QPixmap& pixmap, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(32, 32));
    const QImage image = pixmap.toImage();
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    EXPECT_GT(opaque, 50);
    EXPECT_LT(opaque, 32 * 32);
}

TEST(Pictures, AllLoadFromTheLibrarysResources) {
    ExpectDrawn(shell::EndPicture().pixmap(32, 32), "end");
    ExpectDrawn(shell::InfoPicture().pixmap(32, 32), "info");
    ExpectDrawn(shell::ProgramIcon(shell::Program::Counter).pixmap(32, 32), "counter");
    ExpectDrawn(shell::ProgramIcon(shell::Program::Merger).pixmap(32, 32), "merger");
    ExpectDrawn(shell::ProgramIcon(shell::Program::Info).pixmap(32, 32), "info window");
    EXPECT_NE(shell::ProgramIcon(shell::Program::Counter).pixmap(32, 32).toImage(),
              shell::ProgramIcon(shell::Program::Merger).pixmap(32, 32).toImage());
}

TEST(Pictures, HandPointerIsThePictureWithItsFingertipAsHotSpot) {
    const QCursor hand = shell::HandPointer();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    ExpectDrawn(hand.pixmap(), "hand");
    EXPECT_EQ(hand.hotSpot(), QPoint(10, 1));
    // The hot spot lies on the drawn fingertip, not in the empty corner.
    EXPECT_GT(qAlpha(hand.pixmap().toImage().pixel(10, 2)), 0);
}

} // namespace
