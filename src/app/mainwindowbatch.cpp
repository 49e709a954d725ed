// The main window's part in adding clips and converting them: the add and
// convert buttons, the command line for each clip, and the batch's steps.
#include "app/mainwindow.h"

#include "app/messages.h"
#include "app/pubfunction.h"
#include "controls/checkimagebutton.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/clipadder.h"
#include "encoder/clipprepare.h"
#include "encoder/convertdef.h"
#include "encoder/encoderlib.h"
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

int TMainWindow::batchClipCount() const
{
    return TP_ImageList->count();
}

bool TMainWindow::ApplySelectedProfile()
{
    return m_chooser->ApplySelectedProfile();
}

bool TMainWindow::PrepareClip(int index)
{
    Image_Item *item = TP_ImageList->GetItem(index);
    if (!item) {
        if (index == 0)
            TheShell().info(
                QStringLiteral("No clip to convert!\nPlease add clip to list, then convert it!"));
        return false;
    }
    PrepareClipDef(MyConvertDef,
                   ClipToConvert{item->ClipPath, item->StartTime, item->StopTime, item->VideoWidth,
                                 item->VideoHeight},
                   OutputTarget{path_Work, m_chooser->s_OutputExt, TB_AS_Keep->Checked(),
                                m_chooser->OutputWidth, m_chooser->OutputHeight});
    CurrentClip = index;
    return true;
}

void TMainWindow::RunEncoder()
{
    EncoderArgv vector(EncoderArguments(MyConvertDef));
    ProgressWindow->ShowClip();
    if (DllConvert && DllConvert(messageTarget(), vector.argc(), vector.argv()) == 0)
        return;
    // An engine that refuses to start sends no end message: the batch would
    // wait for it for ever. The clip counts as failed and the batch goes on.
    ProgressWindow->ParseStatusLine(QStringLiteral("error: the engine refused to start"));
    MessageTarget *target = messageTarget();
    target->post(target, WM_CONVERT_DONE, CONVERT_DONE_FAILED, 0);
}

void TMainWindow::NextClip(int result)
{
    // An end message outside a batch (a stray or late one) starts nothing.
    if (!ProgressWindow || !ProgressWindow->b_Converting)
        return;
    ProgressWindow->ClipEnded(result);
    if (!ProgressWindow->b_StopRequested && PrepareClip(CurrentClip + 1))
        RunEncoder();
    else
        ProgressWindow->FinishBatch();
}

void TMainWindow::WindowProc(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_PROBE_FAILED:
        TheShell().info(RefusedFilesText);
        break;
    case WM_CONVERT_DONE:
        NextClip(int(wParam));
        break;
    default:
        PreviewMessage(msg, wParam, lParam);
        break;
    }
}
