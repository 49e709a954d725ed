#include "encoder/encoderlib.h"

#include "platform/nativepath.h"

#include <QFileInfo>
#include <QLibrary>
#include <memory>

ConvertFn DllConvert = nullptr;
SetInfoCallBackFn DllSetInfoCallBack = nullptr;
InitFn DllInit = nullptr;
UnInitFn DllUnInit = nullptr;
GetFileInfoFn DllGetFileInfo = nullptr;
GetFilePicFn DllGetFilePic = nullptr;
StopFn DllStop = nullptr;
TidyFolderFn DllTidyFolder = nullptr;

namespace {
std::unique_ptr<QLibrary> EncoderLib;

template <typename Fn> bool bind(Fn &slot, const char *name)
{
    slot = reinterpret_cast<Fn>(EncoderLib->resolve(name));
    return slot != nullptr;
}

void clearEntries()
{
    DllConvert = nullptr;
    DllSetInfoCallBack = nullptr;
    DllInit = nullptr;
    DllUnInit = nullptr;
    DllGetFileInfo = nullptr;
    DllGetFilePic = nullptr;
    DllStop = nullptr;
    DllTidyFolder = nullptr;
}
} // namespace

QString EncoderLibraryName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Encoder.dll");
#else
    return QStringLiteral("libEncoder.so");
#endif
}

bool LoadEncoder(const QString &folder)
{
    UnloadEncoder();
    // An absolute file name keeps QLibrary from searching anywhere else.
    QString file = QFileInfo(folder + QLatin1Char('/') + EncoderLibraryName()).absoluteFilePath();
    if (!QFileInfo(file).isFile())
        return false;
    EncoderLib = std::make_unique<QLibrary>(file);
    if (!EncoderLib->load()) {
        EncoderLib.reset();
        return false;
    }
    bool all = true;
    all &= bind(DllConvert, "_X");
    all &= bind(DllSetInfoCallBack, "SetGetInfoCallBackFun");
    all &= bind(DllInit, "MyDll_Init");
    all &= bind(DllUnInit, "MyDll_UnInit");
    all &= bind(DllGetFileInfo, "Mydll_GetFileinfo");
    all &= bind(DllGetFilePic, "Mydll_GetPicure");
    all &= bind(DllStop, "Mydll_Stop");
    bind(DllTidyFolder, "Mydll_TidyFolder");
    if (!all) {
        // A partial engine is never called, not even to stop it.
        clearEntries();
        EncoderLib->unload();
        EncoderLib.reset();
    }
    return all;
}

void UnloadEncoder()
{
    if (DllStop)
        DllStop();
    if (DllUnInit)
        DllUnInit();
    clearEntries();
    if (EncoderLib) {
        EncoderLib->unload();
        EncoderLib.reset();
    }
}

void TidyOutputFolder(const QString &folder)
{
    if (DllTidyFolder && !folder.isEmpty())
        DllTidyFolder(NativePath(folder).constData());
}

bool EncoderLoaded()
{
    return EncoderLib != nullptr;
}
