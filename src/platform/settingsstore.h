#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// The two values the program keeps between runs ("OutputFolder" and
// "KeepRatio"). On Windows they live in the registry under
// HKEY_LOCAL_MACHINE\SOFTWARE\Zuzudu4; elsewhere in the user's configuration
// file ~/.config/Zuzudu4/Zuzudu4.conf.
class SettingsStore
{
public:
    // The store the program uses.
    static SettingsStore standard();
    // A store in the given INI file (tests, portable set-ups).
    explicit SettingsStore(QString file);

    const QString &location() const { return m_file; }

    // Nothing when the value (or the whole store) is absent or unreadable.
    std::optional<QString> readText(const QString &name) const;
    std::optional<bool> readFlag(const QString &name) const;

    // Returns false when the store cannot be written; nothing is reported.
    bool write(const QString &name, const QString &text) const;
    bool write(const QString &name, bool flag) const;

private:
    SettingsStore() = default;
    bool writeValue(const QString &name, const QVariant &value) const;

    QString m_file; // empty: the platform's native store
};
