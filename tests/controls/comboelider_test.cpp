#include "controls/comboelider.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kLong = "Phone : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, "
                      "1 Channel Mono with a name far too long for its place";

// The main window's profile list: 497 x 21, Tahoma at 11 pixels.
TEST(ComboElider, LongLinesEndInAnEllipsisWithTheWholeLineAsTooltip)
{
    QWidget window;
    auto *list = new QComboBox(&window);
    list->setGeometry(24, 358, 497, 21);
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(11);
    list->setFont(tahoma);
    auto *elider = new ComboElider(list);
    list->addItem("A : Video: 320x240, 300 kbps, 25 fps, Audio: 64 kbps, 44.1 khps");
    list->addItem(kLong);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // A short line shows whole, no tooltip.
    EXPECT_EQ(elider->shownText(), list->itemText(0));
    EXPECT_TRUE(list->toolTip().isEmpty());

    list->setCurrentIndex(1);
    const QFontMetrics metrics(list->font());
    ASSERT_GT(metrics.horizontalAdvance(kLong), 497) << "the test line must be too long";
    const QString shown = elider->shownText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_LE(metrics.horizontalAdvance(shown), 497);
    EXPECT_EQ(list->toolTip(), kLong);

    // The popup is wide enough for every line in the list's own font.
    EXPECT_GE(list->view()->minimumWidth(), metrics.horizontalAdvance(kLong));
    list->showPopup();
    EXPECT_GE(list->view()->width(), metrics.horizontalAdvance(kLong));
    list->hidePopup();

    // The list's lines themselves are untouched (the program reads them).
    EXPECT_EQ(list->currentText(), kLong);
    list->clear();
    EXPECT_TRUE(list->toolTip().isEmpty());
}

} // namespace
