#pragma once

#include "platform/settingsstore.h"

#include <QString>

// The two values the program keeps between runs, and their one owner: the
// output folder and the keep-ratio switch. Windows ask it and tell it; a
// batch takes the folder in its jobs, so nothing reads it while it changes.
class Settings
{
public:
    explicit Settings(SettingsStore store = SettingsStore::standard());

    // The output folder: converted files are written here.
    const QString &path_Work() const { return m_work; }
    // A folder the user chose, or one a batch fell back to; kept with its
    // trailing separator.
    void setOutputFolder(const QString &folder);
    // Pad the picture to keep its aspect ratio.
    bool b_KeepRatio() const { return m_keepRatio; }
    void setKeepRatio(bool keep) { m_keepRatio = keep; }

    // Reads "OutputFolder" and "KeepRatio"; an absent value keeps its start
    // value (~/ZeloOutput/, off). The stored folder is taken as it is.
    void load();
    // Writes both values, always.
    void save() const;
    // Makes the output folder one level deep where missing; falls back to
    // the default one when it cannot be had. False when neither can.
    bool ensureOutputFolder();

private:
    SettingsStore m_store;
    QString m_work;
    bool m_keepRatio = false;
};
