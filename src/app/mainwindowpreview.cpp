// The main window's preview: playing the selected clip in Panel_Preview
// through the player library, the position poll, seeking from the slider,
// and handing trim changes from the markers and the mark buttons to the
// clip list; the slider shows the trim the list stored.
#include "app/mainwindow.h"

#include "app/messages.h"
#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/checkimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "controls/previewpanel.h"
#include "encoder/playerlib.h"
#include "platform/pubfunction.h"

#include <QFileInfo>
#include <QShowEvent>
#include <QTimer>

static_assert(PLAYER_MSG_HOOK == WM_PLAYER_HOOK && PLAYER_MSG_EVENT == WM_PLAYER_EVENT &&
              PLAYER_MSG_FRAME == WM_PLAYER_FRAME && Player::CallbackMessage == WM_PLAYER_CALLBACK);

namespace {
int TruncatedSeconds(double seconds)
{
    if (!(seconds > -1e9 && seconds < 1e9)) // also false for NaN
        return 0;
    return int(seconds);
}
} // namespace

Image_Item *TMainWindow::loadedClip() const
{
    return m_loadedClip;
}

Image_Item *TMainWindow::sliderClip() const
{
    return m_sliderClip;
}

void TMainWindow::StartPreview()
{
    if (m_adder->adding())
        return;
    // True only when a loaded clip resumed.
    if (Player::Play(1.0))
        return;
    OpenSelectedClip();
}

void TMainWindow::OpenSelectedClip()
{
    Image_Item *item = TP_ImageList->GetPreviewItem();
    if (!item)
        return;
    m_playerGeneration = 0;
    // The player keeps its core; the new clip replaces the old one in it.
    const QString path = item->clip().path;
    if (QFileInfo(path).isFile() && Player::Init(messageTarget()))
        m_playerGeneration = Player::Open(path);
    else
        Player::Stop();
    m_loadedClip = item;
}

void TMainWindow::StopPreview()
{
    Player::Stop();
    m_playerGeneration = 0;
    if (TP_Progress) {
        TP_Progress->SetThumbEnabled(false);
        TP_Progress->SetPosition(0);
    }
    if (PollTimer)
        PollTimer->stop();
    m_playing = false;
    if (Img_VideoPic)
        Img_VideoPic->show();
    if (Panel_Preview)
        Panel_Preview->clear();
    m_loadedClip = nullptr;
}

void TMainWindow::ShowTrim(Image_Item *entry)
{
    m_sliderClip = entry;
    TP_Progress->showTrimOf(clips(), entry ? entry->clipId() : 0);
    if (!entry)
        StopPreview();
}

void TMainWindow::PassKeepRatioToPlayer()
{
    if (Panel_Preview)
        Player::SetKeepRatio(settings().b_KeepRatio());
}

void TMainWindow::PreviewMessage(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_PLAYER_HOOK:
        Player::PostCallbacksTo(messageTarget());
        break;
    case WM_PLAYER_CALLBACK:
        if (m_playerGeneration && unsigned(lParam) == m_playerGeneration &&
            (wParam == PLAYER_CALLBACK_END_OF_FILE || wParam == PLAYER_CALLBACK_ERROR))
            StopPreview();
        break;
    case WM_PLAYER_EVENT:
        if (m_playerGeneration && PLAYER_EVENT_GENERATION(wParam) == m_playerGeneration)
            PlayerEvent(PLAYER_EVENT_CODE(wParam), lParam);
        break;
    case WM_PLAYER_FRAME:
        Panel_Preview->frameReady();
        break;
    default: // WM_PLAYER_IGNORED and anything else: accepted, nothing done
        break;
    }
}

void TMainWindow::PlayerEvent(int code, intptr_t value)
{
    switch (code) {
    case PLAYER_EVENT_PLAYING:
        if (value < 0) {
            StopPreview();
        } else {
            PollTimer->start();
            m_playing = true;
        }
        break;
    case PLAYER_EVENT_PAUSED:
        m_playing = false;
        if (value < 0)
            StopPreview();
        break;
    case PLAYER_EVENT_OPENED:
        if (value) // the clip can be positioned
            TP_Progress->SetThumbEnabled(true);
        PassKeepRatioToPlayer();
        Player::Play(1.0);
        Img_VideoPic->hide();
        break;
    case PLAYER_EVENT_ENDED:
        PollTimer->stop();
        m_playing = false;
        break;
    default:
        StopPreview();
        break;
    }
}

void TMainWindow::PollTick()
{
    double first = 0, seconds = 0, percent = 0;
    if (Player::GetPosition(&first, &seconds, &percent)) {
        m_pollFailures = 0;
        TP_Progress->setPlayingLength(first);
        TP_Progress->SetPosition(percent);
        return;
    }
    // Only a good read resets the count, so a restarted timer stops again
    // at its first failure.
    if (m_pollFailures++ > 3)
        PollTimer->stop();
}

void TMainWindow::ClipSelect(Image_Item *item)
{
    if (item != m_loadedClip)
        StopPreview();
    ShowTrim(item && item->Selected ? item : nullptr);
}

void TMainWindow::MarkClip(bool start)
{
    Image_Item *entry = m_sliderClip;
    double first = 0, seconds = 0, percent = 0;
    if (!entry || !Player::GetPosition(&first, &seconds, &percent))
        return;
    const int at = TruncatedSeconds(seconds);
    const Clip &clip = entry->clip();
    if (start)
        clips()->SetTrim(clip.id, at, clip.stopTime);
    else
        clips()->SetTrim(clip.id, clip.startTime, at);
}

double TMainWindow::SeekLength() const
{
    // The thumb is placed from the player's length, so a release must seek
    // in it too: the list's whole seconds (rounded up, or a header's claim)
    // would land elsewhere.
    double length = 0, seconds = 0, percent = 0;
    if (Player::GetPosition(&length, &seconds, &percent) && length > 0)
        return length;
    return m_sliderClip ? m_sliderClip->clip().duration : 0;
}

void TMainWindow::SliderPositionChange(double percent, bool held)
{
    if (m_seekBusy)
        return;
    const auto seek = [this, percent](void (*to)(double)) {
        const double length = m_sliderClip ? SeekLength() : 0;
        if (length > 0)
            to(length * percent * 0.01);
    };
    if (held) {
        // Stays paused after the drag until play is pressed. Key frames
        // only, so the picture keeps up with the hand.
        Player::Pause();
        seek(&Player::Scrub);
        return;
    }
    m_seekBusy = true;
    seek(&Player::Seek);
    m_seekBusy = false;
}

void TMainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        StopPreview();
}
