#include "app/desktopshell.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <memory>

namespace {
QString boxTitle()
{
    QString title = QApplication::applicationDisplayName();
    return title.isEmpty() ? QApplication::applicationName() : title;
}
} // namespace

QWidget *BoxOwnerWindow()
{
    // A box parented elsewhere would make the window manager raise that
    // window, and its own, over the window the user is working in.
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *active = QApplication::activeWindow();
    if (active && active->windowType() != Qt::Popup && active->windowType() != Qt::ToolTip)
        return active;
    return MainWindow;
}

int DesktopShell::run(QMessageBox &box)
{
    m_open << &box;
    const int answer = box.exec();
    m_open.removeAll(&box);
    return answer;
}

void DesktopShell::closeBoxes()
{
    for (const QPointer<QMessageBox> &box : std::as_const(m_open))
        if (box)
            box->reject();
}

void DesktopShell::info(const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::Information, boxTitle(), text, QMessageBox::Ok, BoxOwnerWindow());
    box.setDetailedText(details);
    run(box);
}

void DesktopShell::error(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, boxTitle(), text, QMessageBox::Ok, BoxOwnerWindow());
    run(box);
}

bool DesktopShell::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    BoxOwnerWindow());
    return run(box) == QMessageBox::Yes;
}

QStringList DesktopShell::chooseFiles(const QList<FileFilter> &filters, const QString &startFolder)
{
    QStringList entries;
    for (const FileFilter &f : filters) {
        // "*.*" means every file, also those without an extension.
        QString patterns = f.patterns;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString title = f.title;
        qsizetype paren = title.indexOf(QLatin1Char('('));
        if (paren >= 0)
            title = title.left(paren).trimmed();
        entries << QStringLiteral("%1 (%2)").arg(title, patterns);
    }
    QFileDialog dialog(BoxOwnerWindow());
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(entries);
    dialog.setSizeGripEnabled(true);
    // The toolkit's own dialog, so that it wears the skin's colours.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString DesktopShell::chooseFolder(const QString &prompt, const QString &start)
{
    return QFileDialog::getExistingDirectory(BoxOwnerWindow(), prompt, start,
                                             QFileDialog::ShowDirsOnly |
                                                 QFileDialog::DontUseNativeDialog);
}

void DesktopShell::open(const QString &pathOrUrl)
{
    QUrl url(pathOrUrl);
    if (url.scheme().size() <= 1) // a path (a lone letter is a drive on Windows)
        url = QUrl::fromLocalFile(pathOrUrl);
    QDesktopServices::openUrl(url);
}
