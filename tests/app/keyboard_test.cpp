// The windows without a mouse: tab order, keys, and what a screen reader is told.
#include "app/aboutwindow.h"
#include "app/helpmenu.h"
#include "controls/accessiblefactory.h"
#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/focusring.h"
#include "controls/image.h"
#include "controls/listpanel.h"
#include "tests/support/programwindows.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

class KeyboardTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        InstallAccessibleFactory();
        qputenv("ZELO_FAKE_ENGINE_PROBE", "42,mpeg4,mp3,320,240");
        startProgram(FakeEngineDir("full"));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        WriteFileBytes(dir.filePath("holiday.avi"), "media");
        shell.nextFiles = {dir.filePath("holiday.avi")};
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), Qt::Key(k), mods);
    }

    // Once the modal window is up: check, then Esc.
    void whenShown(std::function<QWidget *()> modal, std::function<void()> check = {})
    {
        auto *poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, [poll, modal, check] {
            if (!modal() || !modal()->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            if (check)
                check();
            QTest::keyClick(modal(), Qt::Key_Escape);
        });
        poll->start(20);
    }

    static QAccessibleInterface *face(QObject *object)
    {
        return QAccessible::queryAccessibleInterface(object);
    }
};

TEST_F(KeyboardTest, TabWalksEveryControlInReadingOrderAndShowsTheRing)
{
    for (FocusRing *ring : window->findChildren<FocusRing *>())
        EXPECT_FALSE(ring->isVisible()) << "a mouse user sees no ring";
    window->TB_Kinds[0]->setFocus(Qt::TabFocusReason);
    QStringList met;
    do {
        met << QApplication::focusWidget()->objectName();
        key(Qt::Key_Tab);
    } while (QApplication::focusWidget() != window->TB_Kinds[0] && met.size() < 40);
    EXPECT_EQ(met.join(' '), "TB_3GP TB_PSP TB_iPod TB_PDA TB_MP4 TB_Help TB_Min TB_Close "
                             "TP_ImageList TB_AddFile TB_DelFile TP_Progress TB_Previous TB_Play "
                             "TB_Pause TB_Stop TB_Next TB_AS_Keep ComboBox_OutputSetting TB_Edit "
                             "TB_Convert");
    key(Qt::Key_Backtab);
    EXPECT_TRUE(window->TB_Convert->findChild<FocusRing *>()->isVisible());
}

TEST_F(KeyboardTest, KeysAloneTakeAClipFromAddToOutput)
{
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(window->TP_ImageList->count(), 1);
    window->TB_AS_Keep->setFocus(Qt::TabFocusReason);
    const bool keep = window->TB_AS_Keep->Checked();
    key(Qt::Key_Space);
    EXPECT_NE(window->TB_AS_Keep->Checked(), keep);

    window->TP_Progress->SetThumbEnabled(true);
    window->TP_Progress->setFocus(Qt::TabFocusReason);
    for (auto [k, percent] : {std::pair{Qt::Key_Right, 100.0 / 42},
                              {Qt::Key_PageUp, 10 + 100.0 / 42},
                              {Qt::Key_PageDown, 100.0 / 42},
                              {Qt::Key_Left, 0.0}}) {
        key(k);
        EXPECT_NEAR(window->TP_Progress->percent(), percent, 0.5) << k;
    }

    window->TB_Edit->setFocus(Qt::TabFocusReason);
    whenShown([this] { return profile.get(); });
    key(Qt::Key_Return);
    EXPECT_FALSE(profile->isVisible() || profile->b_Saved);

    whenShown([this] { return progress.get(); },
              [this] {
                  QTest::keyClick(progress.get(), Qt::Key_Return);
                  EXPECT_TRUE(waitForBatch());
              });
    window->activateWindow(); // as the window system does when the editor closes
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(shell.opened.contains(settings().path_Work())) << "the batch finished";

    whenShown([this] { return window->helpMenu()->aboutWindow(); });
    window->helpMenu()->ShowAbout();
    EXPECT_FALSE(window->helpMenu()->aboutWindow()->isVisible());
}

TEST_F(KeyboardTest, EveryControlHasARoleAndAName)
{
    window->AddFilesClick();
    EXPECT_EQ(face(window.get())->role(), QAccessible::Window);
    EXPECT_EQ(face(window.get())->text(QAccessible::Name), window->windowTitle());
    int named = 0;
    for (TImageButton *b : window->findChildren<TImageButton *>(Qt::FindDirectChildrenOnly)) {
        QAccessibleInterface *i = face(b);
        const bool kind = std::count(window->TB_Kinds.begin(), window->TB_Kinds.end(), b);
        EXPECT_EQ(i->role(), kind                      ? QAccessible::RadioButton
                             : b == window->TB_AS_Keep ? QAccessible::CheckBox
                                                       : QAccessible::Button);
        EXPECT_FALSE(i->actionInterface()->actionNames().isEmpty());
        named += !i->text(QAccessible::Name).isEmpty();
    }
    EXPECT_EQ(named, 18);
    EXPECT_TRUE(face(window->TB_Kinds[0])->state().checked);
    QAccessibleInterface *list = face(window->TP_ImageList);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 1);
    QAccessibleInterface *row = list->child(0);
    EXPECT_EQ(row->role(), QAccessible::ListItem);
    EXPECT_TRUE(row->text(QAccessible::Name).startsWith("holiday.avi, ") && row->state().selected);
    EXPECT_EQ(row->parent()->object(), window->TP_ImageList);
    QAccessibleInterface *slider = face(window->TP_Progress);
    EXPECT_EQ(slider->role(), QAccessible::Slider);
    EXPECT_EQ(slider->valueInterface()->maximumValue().toInt(), 42);
    EXPECT_EQ(slider->text(QAccessible::Value), "00:00:00");
    EXPECT_EQ(face(window->TP_Progress->startMarker())->text(QAccessible::Name), "Start marker");

    EXPECT_EQ(face(progress->Img_TP)->role(), QAccessible::ProgressBar);
    progress->SetPercent(30, 15);
    EXPECT_EQ(face(progress->Img_CP)->valueInterface()->currentValue().toInt(), 30);
    EXPECT_EQ(face(progress->Edit_WorkingFolder)->text(QAccessible::Name), "Output Folder");
    const auto labelled = face(progress->Label_StartTime)->relations(QAccessible::Label);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled[0].first->text(QAccessible::Name), "Start Time :");
    EXPECT_FALSE(face(progress.get())->text(QAccessible::Name).isEmpty());
    EXPECT_FALSE(face(profile.get())->text(QAccessible::Name).isEmpty());
}

} // namespace
