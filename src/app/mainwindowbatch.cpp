// The main window's part in adding clips and converting them: the add and
// convert buttons, and the clips and profile a batch converts.
#include "app/mainwindow.h"

#include "app/messages.h"
#include "app/profilechooser.h"
#include "clips/clipadder.h"
#include "controls/checkimagebutton.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/probe.h"
#include "platform/pubfunction.h"
#include "platform/shell.h"

void TMainWindow::AddFilesClick()
{
    m_adder->AddFilesClick();
    update(); // the dialog has just closed over the window
}

void TMainWindow::KeepRatioClick()
{
    settings().setKeepRatio(!settings().b_KeepRatio());
    TB_AS_Keep->SetChecked(settings().b_KeepRatio());
    PassKeepRatioToPlayer();
}

void TMainWindow::ConvertClick()
{
    if (m_chooser->RefuseAddEntry())
        return;
    StopPreview();
    if (!ProgressWindow)
        return;
    ProgressWindow->ResetDisplay();
    ProgressWindow->ShowModal();
}

ClipList *TMainWindow::clips() const
{
    return ZeloApplication::instance()->clips();
}

Settings &TMainWindow::settings() const
{
    return ZeloApplication::instance()->settings();
}

std::optional<QList<ConvertJob>> TMainWindow::takeJobs(const QString &folder)
{
    ConvertDef profile;
    if (!m_chooser->ApplySelectedProfile(profile))
        return std::nullopt;
    const OutputTarget target{folder, m_chooser->s_OutputExt, settings().b_KeepRatio(),
                              m_chooser->OutputWidth, m_chooser->OutputHeight};
    return MakeJobs(clips()->toConvert(), target, profile);
}

void TMainWindow::WindowProc(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_PROBE_FAILED:
        TheShell().info(RefusedFilesText, m_adder->refusals().join(QLatin1Char('\n')));
        break;
    default:
        PreviewMessage(msg, wParam, lParam);
        break;
    }
}
