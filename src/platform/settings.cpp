#include "platform/settings.h"

#include "platform/pubfunction.h"

namespace {
const QString kOutputFolderKey = QStringLiteral("OutputFolder");
const QString kKeepRatioKey = QStringLiteral("KeepRatio");
} // namespace

Settings::Settings(SettingsStore store) : m_store(std::move(store)), m_work(DefaultOutputFolder())
{}

void Settings::setOutputFolder(const QString &folder)
{
    m_work = WithTrailingSeparator(folder);
}

void Settings::load()
{
    m_work = DefaultOutputFolder();
    m_keepRatio = false;
    if (auto folder = m_store.readText(kOutputFolderKey))
        m_work = *folder;
    if (auto keep = m_store.readFlag(kKeepRatioKey))
        m_keepRatio = *keep;
}

void Settings::save() const
{
    m_store.write(kOutputFolderKey, m_work);
    m_store.write(kKeepRatioKey, m_keepRatio);
}

bool Settings::ensureOutputFolder()
{
    return MakeOutputFolder(m_work);
}
