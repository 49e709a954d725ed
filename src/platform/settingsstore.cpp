#include "platform/settingsstore.h"

#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace {
const char *const kOrganisation = "Zuzudu4";

std::unique_ptr<QSettings> openStore(const QString &file)
{
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Zuzudu4"),
                                       QSettings::NativeFormat);
#else
    return {};
#endif
}
} // namespace

SettingsStore SettingsStore::standard()
{
#ifdef Q_OS_WIN
    return SettingsStore();
#else
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return SettingsStore(base + QStringLiteral("/%1/%1.conf").arg(QLatin1String(kOrganisation)));
#endif
}

SettingsStore::SettingsStore(QString file) : m_file(std::move(file)) {}

std::optional<QString> SettingsStore::readText(const QString &name) const
{
    auto s = openStore(m_file);
    if (!s || s->status() != QSettings::NoError || !s->contains(name))
        return std::nullopt;
    return s->value(name).toString();
}

std::optional<bool> SettingsStore::readFlag(const QString &name) const
{
    auto s = openStore(m_file);
    if (!s || s->status() != QSettings::NoError || !s->contains(name))
        return std::nullopt;
    // Stored as an integer; any non-zero value is true.
    QVariant v = s->value(name);
    bool ok = false;
    long long n = v.toLongLong(&ok);
    if (ok)
        return n != 0;
    return v.toBool();
}

bool SettingsStore::write(const QString &name, const QString &text) const
{
    return writeValue(name, text);
}

bool SettingsStore::write(const QString &name, bool flag) const
{
    return writeValue(name, flag ? 1 : 0);
}

bool SettingsStore::writeValue(const QString &name, const QVariant &value) const
{
    auto s = openStore(m_file);
    if (!s || !s->isWritable())
        return false;
    s->setValue(name, value);
    s->sync();
    return s->status() == QSettings::NoError;
}
