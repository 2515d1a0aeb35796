#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

// How fast units and ships travel and where they may go. The program's rules are the
// defaults; a game folder may change them in "bewegung.txt", one rule a line, "#"
// starting a comment:
//   gehen 1                  points a walking unit covers a turn
//   reiten 2                 points a riding unit covers a turn
//   strasse 1/2              what a step along a complete road costs (a step costs 1)
//   schiff Langboot 3        steps a turn of a ship type (adds or changes the type)
//   unpassierbar Ozean       terrains a unit cannot walk into; the file's lines of this
//                            kind together replace the default list
//   wasser Ozean             terrains ships sail through; replace the default like
//                            "unpassierbar"
// Step costs are kept as whole numbers of 1/costUnit so that half steps add up exactly.
class MovementRules
{
public:
    // The program's rules.
    MovementRules();

    // The defaults changed by the game folder's "bewegung.txt" when it exists. Throws
    // UserError naming the file and each line that cannot be read.
    static MovementRules forGame(const QString &programPath);
    // The defaults changed by a rules text; each line that cannot be read is named in
    // problems as "file, Zeile N: why" and changes nothing.
    static MovementRules fromText(
        const QString &text, const QString &fileName, QStringList *problems);

    int walkingSpeed() const { return m_walking; }
    int ridingSpeed() const { return m_riding; }
    // Steps a turn of a ship type; nullopt for a type the rules do not know.
    std::optional<int> shipSpeed(const QString &type) const;
    QStringList shipTypes() const;

    // A step costs costUnit(), a step along a complete road roadStepCost().
    int costUnit() const { return m_costUnit; }
    int roadStepCost() const { return m_roadCost; }

    bool isImpassable(const QString &terrain) const { return m_impassable.contains(terrain); }
    bool isWater(const QString &terrain) const { return m_water.contains(terrain); }

private:
    bool readLine(QStringView line, bool *impassableSeen, bool *waterSeen, QString *problem);

    int m_walking = 1;
    int m_riding = 2;
    int m_costUnit = 2;
    int m_roadCost = 1;
    QHash<QString, int> m_shipSpeeds;
    QSet<QString> m_impassable;
    QSet<QString> m_water;
};

} // namespace tolvimar
