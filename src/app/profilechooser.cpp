#include "app/profilechooser.h"

#include "app/profilewindow.h"
#include "controls/image.h"
#include "encoder/profileapply.h"
#include "platform/pubfunction.h"
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
    // Each line keeps the entry number it was read from: the list skips
    // empty slots, so its positions are no entry numbers.
    if (!section.isEmpty())
        for (const ProfileEntry &entry : file.readProfileEntries(section))
            m_list->addItem(entry.line, entry.number);
    // Editing the last entry edits the slot a new profile would take.
    m_list->addItem(AddMyProfileText,
                    section.isEmpty() ? m_list->count() : file.newProfileNumber(section));
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
    if (m_picture && (!QFileInfo(picture).isFile() || !m_picture->LoadPicture(picture)))
        m_picture->ClearPicture();
    emit deviceKindSelected(kind);
}

void ProfileChooser::ComboBox_OutputSettingChange()
{
    if (m_list->currentIndex() + 1 != m_list->count())
        return;
    if (ProfileWindow) {
        ProfileWindow->LoadNewProfileDefaults(CurrentKind);
        ProfileWindow->ShowModal();
        if (ProfileWindow->b_Saved)
            LoadProfileList(CurrentKind);
    }
    // After a save the last profile is the new one; after a cancel the list
    // at least leaves the entry that would open the editor again.
    if (m_list->count() >= 2)
        m_list->setCurrentIndex(m_list->count() - 2);
}

void ProfileChooser::EditSelectedProfile()
{
    // With nothing selected there is no entry to edit: writing one under
    // the number -1 would only leave a line no list ever shows.
    const int position = m_list->currentIndex();
    if (!ProfileWindow || position < 0)
        return;
    ProfileWindow->LoadNewProfileDefaults(CurrentKind);
    ProfileWindow->LoadProfileForEdit(m_list->itemData(position).toInt());
    ProfileWindow->ShowModal();
    if (ProfileWindow->b_Saved)
        LoadProfileList(CurrentKind);
}

bool ProfileChooser::RefuseAddEntry()
{
    if (m_list->currentText() != AddMyProfileText)
        return false;
    TheShell().info(kSelectProfile);
    return true;
}

bool ProfileChooser::ApplySelectedProfile(ConvertDef &profile)
{
    const QString line = m_list->currentIndex() < 0 ? QString() : m_list->currentText();
    switch (ApplyProfileLine(line, s_OutputFormat, profile, OutputWidth, OutputHeight)) {
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
