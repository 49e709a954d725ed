#include "platform/inifile.h"
#include "skin/skincolours.h"
#include "tests/support/testpaths.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QPalette fallback()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(1, 2, 3));
    p.setColor(QPalette::Text, QColor(4, 5, 6));
    p.setColor(QPalette::Base, QColor(7, 8, 9));
    return p;
}

TEST(SkinColours, ReadFromTheColoursSection)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Skin.ini");
    WriteFileBytes(path, "[MainWindow]\nWindow=#ffffff\n"
                         "[colours]\nWINDOW = #102030\nText=#F0E0D0\nBase=#000000\n"
                         "Button=red\nHighlight=#12345\nButtonText=#zzzzzz\n");
    const QPalette pal = SkinPalette(IniFile(path), fallback());
    EXPECT_EQ(pal.color(QPalette::Active, QPalette::Window), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(pal.color(QPalette::Inactive, QPalette::Window), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(pal.color(QPalette::Active, QPalette::Text), QColor(0xF0, 0xE0, 0xD0));
    // Colour names and malformed values keep the fallback's.
    EXPECT_EQ(pal.color(QPalette::Button), fallback().color(QPalette::Button));
    EXPECT_EQ(pal.color(QPalette::Highlight), fallback().color(QPalette::Highlight));
    EXPECT_EQ(pal.color(QPalette::ButtonText), fallback().color(QPalette::ButtonText));
    // Disabled text sits between the text and its ground.
    EXPECT_EQ(pal.color(QPalette::Disabled, QPalette::Text), QColor(0x78, 0x70, 0x68));

    // No section (an older skin): the toolkit's colours, untouched.
    WriteFileBytes(path, "[MainWindow]\nWindow=#ffffff\n");
    EXPECT_EQ(SkinPalette(IniFile(path), fallback()), fallback());
    EXPECT_EQ(SkinPalette(IniFile(dir.filePath("none.ini")), fallback()), fallback());
}

TEST(SkinColours, BoxesMenusAndTheProfileListWearThem)
{
    const QPalette before = QApplication::palette();
    QPalette skin = before;
    skin.setColor(QPalette::Window, QColor(0x18, 0x1E, 0x28));
    skin.setColor(QPalette::WindowText, QColor(0xEE, 0xF2, 0xF8));
    skin.setColor(QPalette::Button, QColor(0x26, 0x2E, 0x3C));
    ApplySkinColours(skin);

    // Class colours take hold when a widget is polished, as on showing.
    QMessageBox box(QMessageBox::Information, "t", "text");
    box.ensurePolished();
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(0x18, 0x1E, 0x28));
    const QList<QLabel *> labels = box.findChildren<QLabel *>();
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first()->palette().color(QPalette::WindowText), QColor(0xEE, 0xF2, 0xF8));
    QWidget owner; // a menu opened from a skinned control
    QMenu menu(&owner);
    menu.ensurePolished();
    EXPECT_EQ(menu.palette().color(QPalette::Window), QColor(0x18, 0x1E, 0x28));
    // Other widgets keep the toolkit's.
    QWidget plain;
    plain.ensurePolished();
    EXPECT_EQ(plain.palette().color(QPalette::Window), before.color(QPalette::Window));

    QComboBox list;
    list.setGeometry(24, 358, 497, 21);
    DressProfileList(&list, skin);
    EXPECT_EQ(list.palette().color(QPalette::Button), QColor(0x26, 0x2E, 0x3C));
    EXPECT_EQ(list.geometry(), QRect(24, 358, 497, 21)); // its place stays

    for (const char *kind : {"QMessageBox", "QFileDialog", "QMenu"})
        QApplication::setPalette(before, kind);
}

} // namespace
