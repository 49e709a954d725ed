#pragma once

#include <QObject>
#include <QString>

class QComboBox;
struct ConvertDef;
class TImage;

// The profile list of the main window: the profiles of the current device
// kind, ending with "Add my profile...", the device picture, and turning the
// chosen line into the engine's settings when a batch starts.
class ProfileChooser : public QObject
{
    Q_OBJECT

public:
    ProfileChooser(QComboBox *list, TImage *picture, QObject *parent = nullptr);

    void LoadProfileList(int kind);
    void SelectDeviceKind(int kind);
    // The list's change by the user.
    void ComboBox_OutputSettingChange();
    void EditSelectedProfile();
    // Writes the selected profile's fields into profile. False (after telling
    // the user where needed) when the selection is no usable profile; the
    // batch then does not start.
    bool ApplySelectedProfile(ConvertDef &profile);
    // True when the list stands on "Add my profile..." (the convert button
    // then refuses with a message).
    bool RefuseAddEntry();

    int CurrentKind = 0;
    QString s_OutputExt;
    QString s_OutputFormat;
    int OutputWidth = 0;
    int OutputHeight = 0;

signals:
    // SelectDeviceKind has made kind the current one.
    void deviceKindSelected(int kind);

private:
    QComboBox *m_list;
    TImage *m_picture;
};
