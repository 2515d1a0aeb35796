#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

// The two games; several rules of the report and the views differ between them.
enum class GameType { Kalmora = 1, Sulvitan = 2 };

// The names of the game types as the selection dialog, the configuration and the
// report's ";Spiel" line write them: "Kalmora" and "Sulvitan".
inline const QStringList &gameTypeNames()
{
    static const QStringList names = {QStringLiteral("Kalmora"), QStringLiteral("Sulvitan")};
    return names;
}

inline QString gameTypeName(GameType type)
{
    return gameTypeNames().at(int(type) - 1);
}

// The game type of a name, spelled exactly; nullopt for any other text.
inline std::optional<GameType> parseGameType(QStringView name)
{
    const qsizetype at = gameTypeNames().indexOf(name);
    return at < 0 ? std::nullopt : std::optional<GameType>(GameType(at + 1));
}

// The game type that the selection dialog's type text gives: "Kalmora" exactly is
// Kalmora; any other text, an empty one included, is Sulvitan.
inline GameType gameTypeFromText(const QString &typeText)
{
    return parseGameType(typeText).value_or(GameType::Sulvitan);
}

// The program-wide values of the opened game slot.
struct ActiveGame
{
    int number = 0; // slot 1..6; 0 while no game is open
    GameType type = GameType::Sulvitan;
    QString name; // as typed in the selection dialog
    QString typeText; // "Kalmora", "Sulvitan" or what the dialog held
    QString factionName;
    int factionNumber = 0;
    qint64 newestTurn = 0; // date code of the newest turn
    QString programPath; // absolute, ends in a separator
    int homeX = 0; // the home region, where the small map opens
    int homeY = 0;
    int base = 36; // identifier base N
    int umlaut = 0;
    QString checkerPath;

    bool isOpen() const { return number > 0; }
    bool isKalmora() const { return type == GameType::Kalmora; }
};

// The values of the page "Status" and the totals beside the report lists.
enum class StatusField {
    Punkte, // "Punkte :"
    PunkteMittel, // "Punkte mittel:"
    ParteiName, // "Partei Name"
    Datum, // "Datum"
    Einheiten, // "Einheiten"
    Personen, // "Personen"
    Silber, // "Silber"
    Imigranten, // "Imigranten"
    MaxImigranten, // "max. Imigranten"
    Gesamteinkommen, // "Gesamteinkommen :" on "Einkommen"
    OrkVermehrung, // "Ork Vermehrung" on "Ereignisse"
    Count
};

// The first nine fields are kept in the configuration block, in this order.
constexpr int kSavedStatusFields = 9;

struct StatusValues
{
    QString values[int(StatusField::Count)];
    QStringList gesamtproduktion; // eleven lines beside "Produktion"

    QString &operator[](StatusField f) { return values[int(f)]; }
    const QString &operator[](StatusField f) const { return values[int(f)]; }
};

} // namespace tolvimar
