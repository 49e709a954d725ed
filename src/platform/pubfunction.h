#pragma once

#include "platform/settings.h"

#include <QString>

// Program-wide state, set before the first window exists. Folder texts always
// end with the platform's separator.
extern QString path_Config;   // the program folder: the executables, the engine and player
extern QString path_Data;     // the shipped Output.dll, Skin/ and help/: the program folder,
                              // or the installed data folder (see InstalledDataFolder)
extern QString path_Skin;     // path_Data + "Skin/"
extern QString path_Snapshot; // program folder + "Snapshot/": thumbnail scratch files; empty
                              // when installed (scratch files go to the cache folder)
extern bool b_Installed;      // installed: nothing is ever written under path_Config or path_Data
extern QString g_s_Version;

// "/" on every system Qt runs on: Qt paths use it throughout.
inline constexpr QChar PathSeparator = QLatin1Char('/');

// The folder the running executable lies in, with a trailing separator.
QString ProgramFolder();
// Where converted files go unless the user chose otherwise: ~/ZeloOutput/.
QString DefaultOutputFolder();

// The file the install step puts into the installed data folder. Its being
// there is what makes a program folder an installed one: a build folder never
// has it, whoever runs the program and wherever it lies.
inline constexpr char InstalledMarkerName[] = "installed";
// An installed program folder is <prefix>/lib/zelo-converter/; its data lie
// in <prefix>/share/zelo-converter/, which holds the marker. Returns that
// data folder, or an empty text when programFolder is no installed one (a
// build folder, where the data lie beside the program).
QString InstalledDataFolder(const QString &programFolder);

// Sets every global to its start value for the given program folder.
void InitGlobals(const QString &programFolder);

// Creates path_Config, path_Snapshot (when there is one) and the settings'
// output folder where missing (one level deep). When the output folder cannot
// be had, falls back to the default one.
bool EnsureFolders(Settings &settings);

// The one rule for the output folder: makes folder (one level deep) when it
// is missing; when that fails and fallBack is set, folder becomes the default
// output folder, made the same way. False when no folder could be had.
bool MakeOutputFolder(QString &folder, bool fallBack = true);
// Where the add-files dialog opens: the folder files were last added from,
// while it exists; the first time the user's Videos folder, else the home
// folder (never the program folder).
QString AddFilesFolder(const SettingsStore &store = SettingsStore::standard());
// Remembers the folder of the files just chosen for the next dialog.
void RememberAddFilesFolder(const QString &chosenFile,
                            const SettingsStore &store = SettingsStore::standard());

// Deletes the files in folder; with recurse, also those in every subfolder.
// Never removes a folder. Failures are passed over.
void ClearFolder(const QString &folder, bool recurse);

// s seconds as "hh:mm:ss" for the eye; negative counts as 0; above 86400
// gives "00:00:00".
QString TimeText(int s);
// The same for the engine, which must start and stop where the clip says:
// hours go on past 24 ("25:00:01"); negative counts as 0.
QString EngineTimeText(int s);

// Size of the file in whole KiB; 0 when it is missing or unreadable.
int FileSizeKB(const QString &path);

// folder with a trailing separator.
QString WithTrailingSeparator(const QString &folder);
