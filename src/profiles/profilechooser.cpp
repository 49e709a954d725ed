#include "profiles/profilechooser.h"

#include "app/pubfunction.h"
#include "controls/image.h"
#include "encoder/convertdef.h"
#include "encoder/profileapply.h"
#include "platform/shell.h"
#include "profiles/devicekind.h"
#include "profiles/profilefile.h"

#include <QComboBox>
#include <QFileInfo>
#include <QSignalBlocker>

namespace {
const QString kSelectProfile = QStringLiteral("Please select a Output Porfiles!");

QString sectionOf(int kind)
{
    const DeviceKindInfo *info = FindDeviceKind(kind);
    return info ? info->section : QString();
}
} // namespace

ProfileChooser::ProfileChooser(QComboBox *list, TImage *picture, QObject *parent)
    : QObject(parent), m_list(list), m_picture(picture)
{
    // Only the user's choice counts as a change; filling the list does not.
    connect(m_list, QOverload<int>::of(&QComboBox::activated), this,
            &ProfileChooser::ComboBox_OutputSettingChange);
}

void ProfileChooser::LoadProfileList(int kind)
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    const QString section = sectionOf(kind);
    ProfileFile file = ProfileFile::standard();
    if (!section.isEmpty())
        m_list->addItems(file.readProfileLines(section));
    m_list->addItem(AddMyProfileText);
    const int index = section.isEmpty() ? 0 : file.readDefaultIndex(section);
    m_list->setCurrentIndex(index >= 0 && index < m_list->count() ? index : -1);
}

void ProfileChooser::SelectDeviceKind(int kind)
{
    LoadProfileList(kind);
    CurrentKind = kind;
    const DeviceKindInfo *info = FindDeviceKind(kind);
    if (info) {
        s_OutputExt = info->extension;
        s_OutputFormat = info->format;
    }
    const QString picture = path_Skin + (info ? info->picture : QString());
    if (!m_picture)
        return;
    if (!QFileInfo(picture).isFile() || !m_picture->LoadPicture(picture))
        m_picture->ClearPicture();
}

void ProfileChooser::ComboBox_OutputSettingChange()
{
    if (m_list->currentIndex() + 1 != m_list->count())
        return;
    // The profile editor opens here once it exists; until then the list
    // goes back to the last profile, as after a cancelled editor.
    if (m_list->count() >= 2)
        m_list->setCurrentIndex(m_list->count() - 2);
}

void ProfileChooser::EditSelectedProfile()
{
    // The profile editor opens here once it exists.
}

bool ProfileChooser::RefuseAddEntry()
{
    if (m_list->currentText() != AddMyProfileText)
        return false;
    TheShell().info(kSelectProfile);
    return true;
}

bool ProfileChooser::ApplySelectedProfile()
{
    const QString line = m_list->currentIndex() < 0 ? QString() : m_list->currentText();
    switch (ApplyProfileLine(line, s_OutputFormat, MyConvertDef, OutputWidth, OutputHeight)) {
    case ApplyResult::AddEntry:
        TheShell().info(kSelectProfile);
        return false;
    case ApplyResult::BadResolution:
        return false;
    case ApplyResult::Applied:
        break;
    }
    return true;
}
