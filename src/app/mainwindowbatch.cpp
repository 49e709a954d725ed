// The main window's part in adding clips and converting them: the add and
// convert buttons, and the clips and profile a batch converts.
#include "app/mainwindow.h"

#include "app/messages.h"
#include "app/pubfunction.h"
#include "controls/checkimagebutton.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/clipadder.h"
#include "encoder/probe.h"
#include "platform/shell.h"
#include "profiles/profilechooser.h"

void TMainWindow::AddFilesClick()
{
    m_adder->AddFilesClick();
    update(); // the dialog has just closed over the window
}

void TMainWindow::KeepRatioClick()
{
    TB_AS_Keep->SetChecked(!TB_AS_Keep->Checked());
    b_KeepRatio = TB_AS_Keep->Checked();
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

int TMainWindow::clipCount() const
{
    return TP_ImageList->count();
}

std::optional<ClipToConvert> TMainWindow::clipAt(int index) const
{
    const Image_Item *item = TP_ImageList->GetItem(index);
    if (!item)
        return std::nullopt;
    return ClipToConvert{item->ClipPath, item->StartTime, item->StopTime, item->VideoWidth,
                         item->VideoHeight};
}

bool TMainWindow::applyProfile()
{
    return m_chooser->ApplySelectedProfile();
}

OutputTarget TMainWindow::outputTarget() const
{
    return OutputTarget{QString(), m_chooser->s_OutputExt, TB_AS_Keep->Checked(),
                        m_chooser->OutputWidth, m_chooser->OutputHeight};
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
