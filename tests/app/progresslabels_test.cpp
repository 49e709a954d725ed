#include "app/desktopshell.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "controls/listpanel.h"
#include "platform/pubfunction.h"
#include "skin/windowframe.h"
#include "tests/support/programwindows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

// The progress window's labels measured against the fonts the program uses:
// the substitute the test machine has, and Tahoma from fonts-wine when
// present (registered as the program does at start).
class ProgressLabelsTest : public ProgramWindows
{
protected:
    void SetUp() override { startProgram(FakeEngineDir("full")); }

    static void registerProgramFonts()
    {
        for (const char *file :
             {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            if (QFile::exists(file))
                QFontDatabase::addApplicationFont(file);
    }

    // Every label of the window and of its progress panel shows the text
    // it would hold: whole width, whole height (descenders and underscores
    // included), inside its parent, overlapping no other label.
    void expectWholeTexts(const QStringList &names)
    {
        progress->ShowClip("/media/card/" + names.value(0), names.value(1), 0, 0);
        EXPECT_EQ(progress->Label_SrcName->toolTip(), names.value(0));
        progress->Label_CP->setText("100");
        progress->Label_TP->setText("100");
        const QList<QLabel *> labels = progress->findChildren<QLabel *>();
        ASSERT_GE(labels.size(), 16);
        for (QLabel *label : labels) {
            const QFontMetrics metrics(label->font());
            const QString text = label->text();
            const QRect inParent = label->geometry();
            EXPECT_GE(label->width(), metrics.horizontalAdvance(text)) << text.toStdString();
            EXPECT_GE(label->height(), metrics.height()) << text.toStdString();
            EXPECT_GE(inParent.top(), 0) << text.toStdString();
            EXPECT_LE(inParent.bottom(), label->parentWidget()->height() - 1) << text.toStdString();
            for (QLabel *other : labels) {
                if (other == label || other->parentWidget() != label->parentWidget())
                    continue;
                EXPECT_FALSE(inParent.intersects(other->geometry()))
                    << text.toStdString() << " / " << other->text().toStdString();
            }
        }
        // The values stand in two columns, each starting at one x.
        for (QLabel *value :
             {progress->Label_DesName, progress->Label_StartTime, progress->Label_Length})
            EXPECT_EQ(value->x(), progress->Label_SrcName->x());
        EXPECT_EQ(progress->Label_CurrentTime->x(), progress->Label_StopTime->x());
    }
};

TEST_F(ProgressLabelsTest, EveryLabelShowsItsWholeText)
{
    expectWholeTexts({"a_b_c.avi", "a_b_c.3gp"});
    expectWholeTexts(
        {"\u65c5\u884c_\u00e9t\u00e9.avi", "\u0416\u0443\u0440\u043d\u0430\u043b_gjpq.3gp"});
    // Too long for the label: shortened in the middle, whole in the tooltip.
    expectWholeTexts({"a_very_long_underscored_name_from_a_memory_card_2026_12_09_holiday_0001.avi",
                      "\u65c5\u884c_" + QString(60, QChar(0x00e9)) + ".3gp"});
}

TEST_F(ProgressLabelsTest, EveryLabelShowsItsWholeTextInTahoma)
{
    registerProgramFonts();
    if (!QFontDatabase::families().contains("Tahoma"))
        GTEST_SKIP() << "fonts-wine is not installed";
    // A window made after the fonts arrived, as at the program's start.
    progress = std::make_unique<TProgressWindow>();
    expectWholeTexts({"a_b_c.avi", "clip_with_long_name_gjpq.3gp"});
}

// The pointer resting on a shortened name shows it whole; a press there
// still drags the window.
TEST_F(ProgressLabelsTest, ShortenedNameShowsWholeInATooltipAndTheLabelDrags)
{
    const QString name = "a_very_long_underscored_name_from_a_memory_card_2026_12_09_0001.avi";
    progress->show();
    progress->ShowClip("/media/card/" + name, "out.3gp", 0, 0);
    QLabel *label = progress->Label_SrcName;
    QTest::mouseMove(label, label->rect().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == name; }, 5000));
    QTest::mousePress(label, Qt::LeftButton, {}, label->rect().center());
    EXPECT_TRUE(progress->findChild<TWindowFrame *>()->drag().dragging);
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().center());
}

// Keys as users expect of a dialog, the refusals kept.
TEST_F(ProgressLabelsTest, EscapeClosesAndEnterStartsUnlessConverting)
{
    // A batch the fake engine holds until it is stopped.
    qputenv("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,320,240");
    qputenv("ZELO_FAKE_ENGINE_HOLD", "1");
    const QString clip = dir.filePath("a.avi");
    WriteFileBytes(clip, "media");
    window->adder()->addFiles({clip});
    progress->show();
    progress->StartClick();
    ASSERT_TRUE(progress->batch()->converting());
    QTest::keyClick(progress.get(), Qt::Key_Return);
    EXPECT_TRUE(shell.boxes.isEmpty()); // Enter never stops a batch
    EXPECT_TRUE(progress->batch()->converting());
    QTest::keyClick(progress.get(), Qt::Key_Escape);
    EXPECT_EQ(shell.texts(), QStringList{"Converting clips now!\nPlease stop it first!"});
    EXPECT_TRUE(progress->isVisible());
    progress->StopClick();
    ASSERT_TRUE(waitForBatch());
    qunsetenv("ZELO_FAKE_ENGINE_HOLD");
    qunsetenv("ZELO_FAKE_ENGINE_PROBE");
    window->TP_ImageList->ClearItems();

    shell.boxes.clear();
    QTest::keyClick(progress.get(), Qt::Key_Enter, Qt::KeypadModifier); // as Start: no clips
    EXPECT_EQ(shell.texts(),
              QStringList{"No clip to convert!\nPlease add clip to list, then convert it!"});
    QSignalSpy closed(progress.get(), &TProgressWindow::closed);
    // The repeats of an Esc held down since another window do not close it.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(progress.get(), &repeat);
    EXPECT_EQ(closed.size(), 0);
    EXPECT_TRUE(progress->isVisible());
    QTest::keyClick(progress.get(), Qt::Key_Escape);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_FALSE(progress->isVisible());
}

// The refusal to close goes when the batch ends under it. Real boxes; the
// watcher stops the batch under the refusal and answers the box after it.
TEST_F(ProgressLabelsTest, CloseRefusalGoesWhenTheBatchEnds)
{
    qputenv("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,320,240");
    qputenv("ZELO_FAKE_ENGINE_HOLD", "1");
    WriteFileBytes(dir.filePath("a.avi"), "media");
    window->adder()->addFiles({dir.filePath("a.avi")});
    progress->show();
    progress->StartClick();
    DesktopShell desktop;
    InstallShell(&desktop);
    QStringList seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && (seen.isEmpty() || seen.last() != box->text()))
            seen << box->text();
        if (box && progress->batch()->converting())
            progress->StopClick();
        else if (box)
            box->accept(); // a refusal left up after the end shows up again
    });
    watcher.start(50);
    QTest::keyClick(progress.get(), Qt::Key_Escape);
    InstallShell(&shell);
    EXPECT_EQ(seen, (QStringList{"Converting clips now!\nPlease stop it first!",
                                 "Stop converting process by user!"}));
}

} // namespace
