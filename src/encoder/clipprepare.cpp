#include "encoder/clipprepare.h"

#include "encoder/commandline.h"
#include "platform/pubfunction.h"

QList<ConvertJob> MakeJobs(const QList<ClipToConvert> &clips, const OutputTarget &target,
                           const ConvertDef &profile)
{
    QList<ConvertJob> jobs;
    for (const ClipToConvert &clip : clips)
        jobs << ConvertJob{clip, target, profile};
    return jobs;
}

ConvertDef JobDef(const ConvertJob &job)
{
    ConvertDef def = job.profile;
    PrepareClipDef(def, job.clip, job.target);
    return def;
}

void PrepareClipDef(ConvertDef &def, const ClipToConvert &clip, const OutputTarget &target)
{
    def.StartTime = clip.startTime;
    def.StopTime = clip.stopTime;
    def.s_StartTime = EngineTimeText(def.StartTime);
    def.s_StopTime = EngineTimeText(def.StopTime);
    def.Duration = def.StopTime - def.StartTime;
    def.s_Duration = QString::number(def.Duration);
    def.s_Input = clip.path;
    def.s_Volume = QStringLiteral("100");
    def.s_Output = OutputPath(clip.path, target.folder, target.extension);

    Pads pads;
    if (target.keepRatio)
        pads = KeepRatioPads(clip.videoWidth, clip.videoHeight, target.width, target.height);
    def.s_PadTop = QString::number(pads.top);
    def.s_PadBottom = QString::number(pads.bottom);
    def.s_PadLeft = QString::number(pads.left);
    def.s_PadRight = QString::number(pads.right);
}
