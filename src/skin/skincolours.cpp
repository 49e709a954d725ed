#include "skin/skincolours.h"

#include "platform/inifile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QToolTip>

const SkinColourKey SkinColourKeys[11] = {
    {"Window", QPalette::Window},
    {"WindowText", QPalette::WindowText},
    {"Base", QPalette::Base},
    {"AlternateBase", QPalette::AlternateBase},
    {"Text", QPalette::Text},
    {"Button", QPalette::Button},
    {"ButtonText", QPalette::ButtonText},
    {"Highlight", QPalette::Highlight},
    {"HighlightedText", QPalette::HighlightedText},
    {"ToolTipBase", QPalette::ToolTipBase},
    {"ToolTipText", QPalette::ToolTipText},
};

namespace {
QColor blend(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}
} // namespace

QPalette SkinPalette(const IniFile &skin, const QPalette &fallback)
{
    QPalette pal = fallback;
    const QHash<QString, QString> section = skin.readSection(QStringLiteral("Colours"));
    bool any = false;
    for (const SkinColourKey &k : SkinColourKeys) {
        const QString value = section.value(QString::fromLatin1(k.key).toLower());
        // Only "#rrggbb": colour names would depend on the toolkit's list.
        if (value.size() != 7 || !value.startsWith(QLatin1Char('#')))
            continue;
        const QColor colour(value);
        if (!colour.isValid())
            continue;
        pal.setColor(QPalette::All, k.role, colour);
        any = true;
    }
    if (!any)
        return fallback;
    pal.setColor(QPalette::Light, pal.color(QPalette::Button).lighter(130));
    pal.setColor(QPalette::Midlight, pal.color(QPalette::Button).lighter(115));
    pal.setColor(QPalette::Mid, pal.color(QPalette::Button).darker(130));
    pal.setColor(QPalette::Dark, pal.color(QPalette::Button).darker(160));
    pal.setColor(QPalette::PlaceholderText,
                 blend(pal.color(QPalette::Text), pal.color(QPalette::Base)));
    for (auto [text, ground] : {std::pair{QPalette::WindowText, QPalette::Window},
                                std::pair{QPalette::Text, QPalette::Base},
                                std::pair{QPalette::ButtonText, QPalette::Button}})
        pal.setColor(QPalette::Disabled, text, blend(pal.color(text), pal.color(ground)));
    return pal;
}

void ApplySkinColours(const QPalette &colours)
{
    // Per class, so that the skinned windows keep the colours they set.
    for (const char *kind : {"QMessageBox", "QFileDialog", "QMenu"})
        QApplication::setPalette(colours, kind);
    QToolTip::setPalette(colours);
}

void DressProfileList(QComboBox *list, const QPalette &colours)
{
    QPalette pal = list->palette();
    for (QPalette::ColorRole role :
         {QPalette::Button, QPalette::ButtonText, QPalette::Base, QPalette::Text, QPalette::Window,
          QPalette::WindowText, QPalette::Highlight, QPalette::HighlightedText})
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, role, colours.color(group, role));
    list->setPalette(pal);
    list->view()->setPalette(pal);
}
