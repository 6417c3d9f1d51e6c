#pragma once

#include <QString>
#include <optional>

// The tab the settings window shows. Held in memory only: every start opens on General.
enum class SettingsTab { General, Profiles, Updates, Advanced };

inline QString rawValue(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::General:
        return QStringLiteral("general");
    case SettingsTab::Profiles:
        return QStringLiteral("profiles");
    case SettingsTab::Updates:
        return QStringLiteral("updates");
    case SettingsTab::Advanced:
        return QStringLiteral("advanced");
    }
    return {};
}

inline std::optional<SettingsTab> settingsTabFromRaw(const QString &raw) {
    for (auto tab :
         {SettingsTab::General, SettingsTab::Profiles, SettingsTab::Updates, SettingsTab::Advanced})
        if (rawValue(tab) == raw)
            return tab;
    return std::nullopt;
}
