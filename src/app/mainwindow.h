#pragma once

#include "app/application.h"
#include "app/progresswindow.h"
#include "platform/messagetarget.h"
#include "profiles/devicekind.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>

class QComboBox;
class PreviewPanel;
class ClipAdder;
class HelpMenu;
class ProfileChooser;
class TCheckImageButton;
class TListPanel;
class TDynamicImageButton;
class TFixProgress;
class Image_Item;
class QTimer;
class TImage;
class TWindowFrame;

// The program's main window and hub: the libraries report to it by messages
// through its message target, its controls by Qt signals, and it calls the
// parts that act. It is created once at start and
// lives until the message loop has ended.
class TMainWindow : public QWidget, public BatchSource
{
    Q_OBJECT

public:
    static const QString Caption; // "Zuzudu4 Converter"

    explicit TMainWindow(QWidget *parent = nullptr);
    ~TMainWindow() override;

    // Applies the skin and the saved state once every window exists. False
    // means the program cannot run.
    bool InitMainWindow();

    // The destroy handler: runs once after the message loop has ended and
    // before any window is deleted.
    void FormDestroy();

    // The "window handle" given to the engine and the player.
    MessageTarget *messageTarget() { return &m_target; }

    // The buttons' actions.
    void AddFilesClick();
    void ConvertClick();
    void KeepRatioClick();
    void DeviceKindClick(int kind);

    // The preview (mainwindowpreview.cpp).
    void StartPreview();
    void OpenSelectedClip();
    void StopPreview();
    // The slider shows entry's clip's trim and takes its changes; none rests it.
    void ShowTrim(Image_Item *entry);
    void PollTick();
    void ClipSelect(Image_Item *item);
    // The mark buttons: the playing position becomes the start or the stop.
    void MarkClip(bool start);
    void SliderPositionChange(double percent, bool held);
    void PassKeepRatioToPlayer();
    // Space: pauses what plays, else plays the selected clip.
    void TogglePreview();
    bool previewPlaying() const { return m_playing; }
    // The controls Tab walks, in order (mainwindowkeys.cpp).
    QList<QWidget *> tabOrder() const;
    Image_Item *loadedClip() const;
    Image_Item *sliderClip() const;

    // What a batch converts: the clip list with the chosen profile.
    std::optional<QList<ConvertJob>> takeJobs(const QString &folder) override;

    // The program's clip list, which the list panel shows.
    ClipList *clips() const;
    // The output folder and keep-ratio switch; the keep-ratio button shows
    // the latter.
    Settings &settings() const;

    ProfileChooser *chooser() const { return m_chooser; }
    ClipAdder *adder() const { return m_adder; }
    HelpMenu *helpMenu() const { return m_help; }

    // Designed components; the skin leaves them where they are.
    PreviewPanel *Panel_Preview = nullptr;
    QComboBox *ComboBox_OutputSetting = nullptr;

    // Skinned controls, named after their skin keys, in creation order.
    TListPanel *TP_ImageList = nullptr;
    TImage *Img_Background = nullptr;
    TDynamicImageButton *TB_Play = nullptr, *TB_Stop = nullptr, *TB_Pause = nullptr,
                        *TB_Next = nullptr, *TB_Previous = nullptr;
    TFixProgress *TP_Progress = nullptr;
    TDynamicImageButton *TB_Close = nullptr;
    TCheckImageButton *TB_AS_Keep = nullptr;
    TDynamicImageButton *TB_Min = nullptr, *TB_Help = nullptr, *TB_AddFile = nullptr,
                        *TB_DelFile = nullptr, *TB_Edit = nullptr, *TB_Convert = nullptr;
    TImage *Img_VideoPic = nullptr;
    // The device kinds, in kind order (TB_3GP ... TB_MP4): the checked one is
    // the kind whose profiles are listed.
    std::array<TCheckImageButton *, DeviceKindCount> TB_Kinds{};
    QTimer *PollTimer = nullptr; // the preview's position poll

    TWindowFrame *frame() const { return m_frame; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // Dispatch on the message number, like a window procedure.
    void WindowProc(unsigned msg, uintptr_t wParam, intptr_t lParam);
    void PreviewMessage(unsigned msg, uintptr_t wParam, intptr_t lParam);
    void PlayerEvent(int code, intptr_t value);
    // The length a slider release seeks in: the player's once it knows it.
    double SeekLength() const;

private:
    void FormCreate();
    void FormClose();
    void CreateDesignedComponents();
    void CreateSkinControls();
    void WireSkinControls();
    void FreeSkinControls();
    void WireKeys();

    QtMessageTarget m_target;
    TWindowFrame *m_frame = nullptr;
    ClipAdder *m_adder = nullptr;
    ProfileChooser *m_chooser = nullptr;
    HelpMenu *m_help = nullptr;
    bool m_destroyed = false;
    QPointer<Image_Item> m_loadedClip;
    QPointer<Image_Item> m_sliderClip;
    // The loaded clip's generation in the player (0: none); messages about
    // any other clip are late and dropped.
    unsigned m_playerGeneration = 0;
    int m_pollFailures = 0;
    bool m_seekBusy = false;
    bool m_playing = false; // the player said it plays; paused, stopped or ended clear it
    ZeloApplication::ExceptionHandler m_previousHandler;
};

extern TMainWindow *MainWindow;
