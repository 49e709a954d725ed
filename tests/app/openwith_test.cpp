// Files handed over from the command line or from a later copy while the
// list is still busy with a multi-file add.
#include "app/commandfiles.h"
#include "clips/clipadder.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "tests/support/programwindows.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class OpenWithTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        qputenv("ZELO_FAKE_ENGINE_PROBE", "42,mpeg4,mp3,320,240");
        qputenv("ZELO_FAKE_ENGINE_PROBE_DELAY_MS", "60");
        startProgram(FakeEngineDir("full"));
    }
    QStringList media(const QStringList &names)
    {
        QStringList paths;
        for (const QString &name : names) {
            paths << dir.filePath(name);
            WriteFileBytes(paths.last(), "media");
        }
        return paths;
    }
};

TEST_F(OpenWithTest, FilesArrivingDuringAnAddWaitForItInsteadOfBeingLost)
{
    window->adder()->addFiles(media({"a.avi", "b.avi", "c.avi"}));
    ASSERT_TRUE(window->adder()->workerRunning());
    AddFilesWhenFree(window->adder(), media({"d.avi"}));
    AddFilesWhenFree(window->adder(), media({"e.avi", "f.avi"}));

    TListPanel *list = window->TP_ImageList;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return list->count() >= 6 && !window->adder()->workerRunning(); }, 20000));
    QStringList names;
    for (int i = 0; Image_Item *item = list->GetItem(i); ++i)
        names << QFileInfo(item->clip().path).fileName();
    EXPECT_EQ(names, (QStringList{"a.avi", "b.avi", "c.avi", "d.avi", "e.avi", "f.avi"}));
    EXPECT_TRUE(shell.boxes.isEmpty());
}

} // namespace
