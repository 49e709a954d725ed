#pragma once

#include <QWidget>
#include <functional>

class TImage;

// The start-up picture: a borderless window above all others that fades in
// before the windows are built and fades out once they are ready. No picture
// (or one that does not decode) means no window and no waiting.
class TStartUp : public QWidget
{
    Q_OBJECT

public:
    explicit TStartUp(const QString &picturePath);

    void ShowSplash();
    void HideSplash();

    bool b_Shown = false;
    TImage *Image = nullptr;

    // How a fade step waits: ms milliseconds, and whether the user's input is
    // handled meanwhile (the fade-in lets other windows work; the fade-out
    // only keeps the display current). Tests replace it to watch the steps.
    using Pause = std::function<void(int ms, bool handleInput)>;
    void setPause(Pause pause) { m_pause = std::move(pause); }
    // Whether the window fades; by default only where the platform shows a
    // window's opacity (WindowOpacityShows), elsewhere it appears and goes,
    // kept up for as long as the fades would take.
    void setFades(bool fades) { m_fades = fades; }

private:
    QString m_path;
    Pause m_pause;
    bool m_fades;
};

// The skin folder's splash picture.
QString StartupImagePath();
