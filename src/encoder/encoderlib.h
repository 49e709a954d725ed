// Binding the engine library by export name, and the entries it uses.
#pragma once

#include "engine/encoder.h"

#include <QString>

class QLibrary;

// The engine's entries, bound by export name when the program starts.
using ConvertFn = int (*)(MessageTarget *, int, char **);
using SetInfoCallBackFn = void (*)(StatusLineCallback);
using InitFn = void (*)();
using UnInitFn = void (*)();
using GetFileInfoFn = int (*)(const char *, ClipInfo *);
using GetFilePicFn = int (*)(const char *, int, const char *, const char *);
using StopFn = void (*)();
using TidyFolderFn = void (*)(const char *);

extern ConvertFn DllConvert;
extern SetInfoCallBackFn DllSetInfoCallBack;
extern InitFn DllInit;
extern UnInitFn DllUnInit;
extern GetFileInfoFn DllGetFileInfo;
extern GetFilePicFn DllGetFilePic;
extern StopFn DllStop;
// Optional: an engine without it is still loaded, and nothing is tidied.
extern TidyFolderFn DllTidyFolder;

// The engine library's file name in the program folder.
QString EncoderLibraryName();

// Loads the engine from folder by full path (never through the library
// search path) and binds the seven entries the program calls (the engine's
// percentage callback, which reports nothing, is left alone). True only when
// all are bound; on false no entry is bound and the library is not kept.
bool LoadEncoder(const QString &folder);

// Stops the engine and releases it (each call only when bound), then unloads
// the library and clears every entry. Safe to call when nothing is loaded.
void UnloadEncoder();

// Removes what dead conversions left in folder (their hidden working
// files); a live conversion's file stays.
void TidyOutputFolder(const QString &folder);

// True while a library is loaded.
bool EncoderLoaded();
