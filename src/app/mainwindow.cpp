#include "app/mainwindow.h"

#include "app/links.h"
#include "app/profilechooser.h"
#include "app/profilewindow.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "controls/checkimagebutton.h"
#include "controls/focusring.h"
#include "controls/listpanel.h"
#include "encoder/encoderlib.h"
#include "encoder/playerlib.h"
#include "encoder/probe.h"
#include "platform/inifile.h"
#include "platform/pubfunction.h"
#include "platform/shell.h"
#include "skin/skin.h"
#include "skin/skincolours.h"

#include <QApplication>
#include <QCloseEvent>
#include <cfenv>

TMainWindow *MainWindow = nullptr;

const QString TMainWindow::Caption = QStringLiteral("Zuzudu4 Converter");

namespace {
const QString kVersion = QStringLiteral("2.1.6 Build on 20070503");
const QString kEngineMissing =
    QStringLiteral("Can not load Moviforge function!\nPlease re-install this program!\nEXIT!");

void MaskFloatingPointTraps()
{
    // The percentage arithmetic must never trap; it guards its divisions too.
#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
    fedisableexcept(FE_ALL_EXCEPT);
#endif
}
} // namespace

TMainWindow::TMainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_target(this)
{
    MaskFloatingPointTraps();
    MainWindow = this;
    // The window starts with an empty list and is the one the batch asks.
    clips()->clear();
    ZeloApplication::instance()->renewBatch(this);
    CreateDesignedComponents();
    FormCreate();
}

TMainWindow::~TMainWindow()
{
    FormDestroy();
    m_target.detach();
    if (BatchRun *batch = ZeloApplication::instance()->batch(); batch->source() == this)
        batch->setSource(nullptr);
    if (MainWindow == this)
        MainWindow = nullptr;
}

void TMainWindow::FormCreate()
{
    if (!LoadEncoder(path_Config)) {
        TheShell().error(kEngineMissing);
        RequestTermination();
    } else {
        DllInit();
    }
    // Without a usable player the preview stays idle; nothing else needs it.
    Player::Load(path_Config);
    CreateSkinControls();
    WireSkinControls();
    WireKeys();

    if (ZeloApplication *app = ZeloApplication::instance())
        m_previousHandler = app->setExceptionHandler(ShowErrorReport);

    settings().load();
    EnsureFolders(settings());
    TidyOutputFolder(settings().path_Work());
}

bool TMainWindow::InitMainWindow()
{
    // The main, progress and profile windows are skinned in that order; the
    // first that fails ends the start-up.
    if (!LoadSkin(this, path_Skin))
        return false;
    if (ProgressWindow && !LoadSkin(ProgressWindow, path_Skin))
        return false;
    if (ProfileWindow && !LoadSkin(ProfileWindow, path_Skin))
        return false;
    const QPalette colours =
        SkinPalette(IniFile(path_Skin + QStringLiteral("Skin.ini")), QApplication::palette());
    ApplySkinColours(colours);
    FocusRing::setColour(colours.color(QPalette::Highlight));
    DressProfileList(ComboBox_OutputSetting, colours);
    // The progress window's labels and folder field sit on the skin's face.
    if (ProgressWindow)
        ProgressWindow->setPalette(colours);
    g_s_Version = kVersion;
    TB_AS_Keep->SetChecked(settings().b_KeepRatio());
    m_chooser->SelectDeviceKind(0);
    TP_ImageList->setFocus(); // keys act on the clips from the start
    if (ZeloApplication *app = ZeloApplication::instance())
        app->setApplicationDisplayName(QStringLiteral("Zelo 3GP Converter"));
    // The task bar shows the application title; the caption stays the
    // single-instance key.
    setWindowTitle(QStringLiteral("Zelo 3GP Converter"));
    return true;
}

void TMainWindow::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TMainWindow::FormClose()
{
    StopPreview();
    RequestTermination();
}

void TMainWindow::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    // A multi-file add finishes its current file before anything goes away.
    if (m_adder)
        m_adder->stopAndWait();
    settings().save();
    FreeSkinControls();
    UnloadEncoder();
    Player::Unload();
    m_target.detach();
    if (ZeloApplication *app = ZeloApplication::instance())
        app->setExceptionHandler(std::move(m_previousHandler));
    ClearSnapshotFolder(path_Snapshot);
    RemoveOwnScratchFiles(); // in the cache folder when the program's is read-only
}

bool TMainWindow::event(QEvent *event)
{
    if (event->type() == WindowMessageEvent::eventType()) {
        auto *m = static_cast<WindowMessageEvent *>(event);
        WindowProc(m->msg, m->wParam, m->lParam);
        return true;
    }
    return QWidget::event(event);
}
