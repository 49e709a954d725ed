#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QToolButton;
class TDynamicImageButton;
class TImage;
class TWindowFrame;

// The modal editor in which the user makes a new output profile or changes
// one: the option lists of the device kind's section, a free video bit rate
// with arrows, the channels and a name. OK writes the profile back as one
// line. Created once at start and reused for every showing.
class TProfileWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TProfileWindow(QWidget *parent = nullptr);
    ~TProfileWindow() override;

    // Every showing starts here: the option lists and defaults of the kind's
    // section, ready for a new profile under the next free entry number.
    void LoadNewProfileDefaults(int kind);
    // Then, to change an existing profile: the entry of that number, its
    // name locked. An empty slot keeps the defaults.
    void LoadProfileForEdit(int number);
    // Shows the window and returns when it has been closed.
    void ShowModal();

    // OK: writes the profile line under ProfileIndex. Throws IniWriteError
    // (the window staying open and b_Saved false) when the file cannot be
    // written.
    void SaveProfile();
    void UpDownClick(int step);
    void Edit_VideoBitRateChange();

    QString s_Section;
    int ProfileIndex = 0;
    bool b_Saved = false;
    int arrowPosition() const { return m_arrowPosition; }

    TImage *Img_Background = nullptr;
    TDynamicImageButton *TB_Ok = nullptr;
    TDynamicImageButton *TB_Cancel = nullptr;
    TDynamicImageButton *TB_Close = nullptr;

    QLineEdit *Edit_Name = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QComboBox *ComboBox_VideoResolution = nullptr;
    QLineEdit *Edit_VideoBitRate = nullptr;
    QWidget *UpDown = nullptr;
    QToolButton *UpDown_Up = nullptr;
    QToolButton *UpDown_Down = nullptr;
    QComboBox *ComboBox_VideoFramerate = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QComboBox *ComboBox_AudioChannel = nullptr;
    QComboBox *ComboBox_AudioBitRate = nullptr;
    QComboBox *ComboBox_AudioFrameRate = nullptr;

    TWindowFrame *frame() const { return m_frame; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createFields();
    void createArrows();

    TWindowFrame *m_frame = nullptr;
    int m_arrowPosition = 0;
};

extern TProfileWindow *ProfileWindow;
